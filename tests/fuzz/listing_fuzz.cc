// Any listing under any option text: the input's first line is the option
// word given after the profile name GLOBAL (with "ITEM=" in it the item
// profile is read, else the global listing file), the rest is the file, served
// from the tests' virtual files.  The listing read is then checked and taken
// apart name by name as the item-mode run does, and the sensor words the
// doctor finds in the file are those that reach its lines.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/ascii.h"
#include "common/run_options.h"
#include "config/global_listing.h"
#include "config/item_run_checks.h"
#include "config/profile_file.h"
#include "config/profile_name.h"
#include "fuzz_check.h"
#include "virtual_files.h"

namespace {

bool holds_any_of(const TextBuffer& text, std::string_view characters) {
  return text.view().find_first_of(characters) != std::string_view::npos;
}

// The file's text as the entry's option text is taken from it: NUL bytes
// dropped, colons turned into blanks.
std::string file_as_read(std::string_view content) {
  std::string text;
  for (char c : content)
    if (c != '\0') text += c == ':' ? ' ' : c;
  return text;
}

// Whether the options stand in the file as an entry's whole option text:
// followed by the sensor allocation or by the end of their line.
bool taken_whole(std::string_view file, std::string_view options) {
  for (std::size_t at = file.find(options); at != std::string_view::npos; at = file.find(options, at + 1)) {
    const std::string_view after = file.substr(at + options.size());
    if (after.empty() || after[0] == '\n' || after.substr(0, 2) == "\r\n" || after.substr(0, 8) == ",Sensor=")
      return true;
  }
  return false;
}

void check_item_name_holds_no_separator(const ItemName& item_name) { FUZZ_CHECK(!holds_any_of(item_name, ",:")); }

// Every name taken comes off the front, so the walk ends; no name is longer
// than a file name or holds the separator.
void walk_listing(ItemListing listing) {
  const std::size_t names_at_most = listing.server_listing.size() + 1;
  std::size_t taken = 0;
  while (!listing.server_listing.empty()) {
    const std::size_t before = listing.server_listing.size();
    ProfileFileName name;
    const bool usable = take_next_listed_name(listing, name);
    FUZZ_CHECK(listing.server_listing.size() < before);
    FUZZ_CHECK(name.find('#') == TextBuffer::npos);
    if (usable) FUZZ_CHECK(!name.empty());
    FUZZ_CHECK(++taken <= names_at_most);
  }
}

// A listing that passed is refused only for its item or an option's value;
// what passes is in range.
void check_item_run_of(const ItemListing& listing, RunOptions options, const RunOptions& command_line) {
  refresh_run_options(options);
  ItemRunSettings settings;
  const ConfigStatus checked = check_item_run(listing, options, command_line, settings);
  if (!checked.ok()) {
    FUZZ_CHECK(refusal_is_one_of(checked.message(), {"1031", "1032", "1033"}));
    return;
  }
  FUZZ_CHECK(!settings.parallel.given || (settings.parallel.systems >= 1 && settings.parallel.systems <= 16));
  FUZZ_CHECK(settings.limits.warning < settings.limits.error || settings.limits.error == 0);
}

// The words told are as a run is given them; a run that took a line of the
// file was given one of them.
void check_sensor_words(const std::string& file_name, const RunOptions& options, const ConfigStatus& loaded) {
  std::vector<std::string> words;
  const OwnedFile file(VirtualFiles::open(file_name.c_str()));
  visit_sensor_words(
      file.get(),
      [](std::string_view word, void* context) { static_cast<std::vector<std::string>*>(context)->emplace_back(word); },
      &words);
  for (const std::string& word : words) FUZZ_CHECK(word.size() <= 10 && word.find(' ') == std::string::npos);
  if (refusal_is_one_of(loaded.message(), {"1030"})) return;
  const std::string_view typed = options.run_options.view().substr(0, options.run_options.find(' '));
  bool told = false;
  for (const std::string& word : words) told = told || equals_ignoring_case(word, typed.substr(0, 10));
  FUZZ_CHECK(told);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const FirstLineAndRest input = split_first_line(data, size);
  // An argument holds no NUL, and the run refuses a longer option text before it reads anything.
  if (input.first_line.find('\0') != std::string_view::npos) return -1;
  const std::string option_word(input.first_line);
  const char* const argv[] = {"quenmarel", "GLOBAL", option_word.c_str()};
  RunOptions options;
  if (!assemble_run_options(options, 3, argv)) return -1;

  VirtualFiles files;
  ProfileLocation location;
  location.open_for_reading = VirtualFiles::open;
  ItemListing listing;
  FUZZ_CHECK(form_profile_name(location, listing.item_name, options, argv[1]).ok());
  FUZZ_CHECK(location.item_mode);
  const bool item_profile = location.profile_file_name.equals(item_profile_name);
  FUZZ_CHECK(item_profile || location.profile_file_name.equals(global_listing_name));
  files.add(std::string(location.profile_file_name.view()), std::string(input.rest));
  OwnedFile profile;
  FUZZ_CHECK(open_profile(location, false, profile).ok());
  profile.reset();

  const OptionText given_before = options.given_options;
  const RunOptions command_line = options;
  const ItemName item_before = listing.item_name;
  const ConfigStatus loaded = load_global_listing(location, options, listing);
  FUZZ_CHECK(files.open_count() == 0);
  check_item_name_holds_no_separator(listing.item_name);
  if (loaded.ok()) {
    FUZZ_CHECK(!listing.server_listing.empty());
    FUZZ_CHECK(!listing.item_name.empty());
  } else {
    FUZZ_CHECK(refusal_is_one_of(loaded.message(), {"1025", "1026", "1027", "1028", "1029", "1030"}));
    if (refusal_is_one_of(loaded.message(), {"1030"}))
      FUZZ_CHECK(loaded.message() == "Error 1030: Global Sensor " + option_word + " not found...");
  }
  if (item_profile) {
    // The item profile names only systems: item and options stay the command line's.
    FUZZ_CHECK(listing.item_name.equals(item_before.view()));
    FUZZ_CHECK(options.given_options.equals(given_before.view()));
  } else if (loaded.ok()) {
    // The entry's option text, up to its sensor allocation, becomes the run's.
    FUZZ_CHECK(!holds_any_of(options.given_options, ":"));
    FUZZ_CHECK(!options.given_options.contains(",Sensor="));
    FUZZ_CHECK(taken_whole(file_as_read(input.rest), options.given_options.view()));
  } else if (!refusal_is_one_of(loaded.message(), {"1025", "1026"})) {
    // A file refused while it is read gives the run no options of its own.
    FUZZ_CHECK(options.given_options.equals(given_before.view()));
  }
  if (!item_profile) check_sensor_words(std::string(location.profile_file_name.view()), command_line, loaded);
  if (loaded.ok()) check_item_run_of(listing, options, command_line);
  walk_listing(listing);
  return 0;
}
