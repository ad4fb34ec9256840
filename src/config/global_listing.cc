#include "config/global_listing.h"

#include <algorithm>

#include "common/ascii.h"
#include "common/line_reader.h"
#include "common/saprouter_route.h"
#include "platform/files.h"

namespace {

constexpr std::size_t listing_text_column = 20;
constexpr std::size_t entry_text_column = 19;
constexpr std::size_t sensor_word_length = 10;
// ".P00": the alias of a listed profile is its name without them.
constexpr std::size_t file_extension_length = 4;

constexpr std::string_view item_profile_listing_mark = "# Gsng: ";
constexpr std::string_view global_listing_mark = "# GSNG: ";
constexpr std::string_view global_entry_mark = "# GSNX: ";
constexpr std::string_view sensor_allocation = "Sensor=\"SAP Quenmarel\"";
constexpr std::string_view options_end = ",Sensor=";
constexpr std::string_view item_keyword = "Item=";

using ListingLine = BoundedText<listing_line_capacity>;
using ListingKey = BoundedText<global_listing_mark.size() + sensor_word_length>;

/// What the matching entry lines of the global listing file said.  The entry
/// becomes the run's option text, so it may be no longer than that.
struct SensorEntry {
  bool found = false;
  OptionText text;
  OptionText option_text;
};

std::string_view text_from(const TextBuffer& line, std::size_t column) {
  return column < line.size() ? line.view().substr(column) : std::string_view();
}

// A listing that does not fit is refused rather than cut: a cut name would
// be looked for as another file.
ConfigStatus append_listing_text(ItemListing& listing, const TextBuffer& line) {
  if (listing.server_listing.append_whole(text_from(line, listing_text_column))) return ConfigStatus();
  return ConfigStatus(NumberedError::ServerListingTooLong);
}

// Reads the next line whole.  The rest of a longer line is read past, never
// taken for a line of its own, and `length` tells how long it was; for a line
// read whole it is 0.
bool read_listing_line(LineReader& reader, ListingLine& line, std::size_t& overlong_length) {
  if (!reader.read(line, listing_line_capacity)) return false;
  overlong_length = reader.line_ended() ? 0 : line.size() + reader.skip_rest_of_line();
  return true;
}

// A line of the run that does not fit is refused rather than cut: the
// systems it names beyond the cut would go unmeasured without a word.
ConfigStatus refuse_overlong_line(std::string_view owner, std::size_t length) {
  // The sensor word as typed, and two numbers in words around it.
  BoundedText<option_text_capacity + 48> name;
  static_assert(decltype(name)::max_length + 40 <= config_message_capacity, "the message holds the whole name");
  // A file is read up to text_file_byte_bound, so a line's length fits "%u",
  // which every C library of the builds reads as the compiler checks it.
  name.assignf("%.*s (%u characters, at most %u)", static_cast<int>(owner.size()), owner.data(),
               static_cast<unsigned>(length), static_cast<unsigned>(listing_line_capacity));
  return ConfigStatus(NumberedError::ListingLineTooLong, name.view());
}

ConfigStatus read_item_profile(std::FILE* file, ItemListing& listing) {
  LineReader reader(file);
  ListingLine line;
  std::size_t overlong_length = 0;
  while (read_listing_line(reader, line, overlong_length)) {
    if (!line.starts_with(item_profile_listing_mark)) continue;
    if (overlong_length != 0) return refuse_overlong_line(item_profile_name, overlong_length);
    const ConfigStatus appended = append_listing_text(listing, line);
    if (!appended.ok()) return appended;
  }
  return ConfigStatus();
}

// The sensor word is the first word of the option text, padded to ten
// characters; a longer word is cut there, because only its first ten
// characters take part in matching.
void form_listing_key(std::string_view mark, const TextBuffer& run_options, ListingKey& key) {
  const std::string_view options = run_options.view();
  key.assign(mark);
  key.append(options.substr(0, std::min(options.find(' '), sensor_word_length)));
  while (key.size() < key.capacity()) key.append(' ');
}

// The sensor word of a line whose first characters are a global listing
// mark: what form_listing_key must have been given to form the line's key.
bool sensor_word_of(const TextBuffer& line, std::string_view& word) {
  const std::string_view text = line.view();
  if (text.size() < ListingKey::max_length) return false;
  if (!starts_with_ignoring_case(text, global_listing_mark) && !starts_with_ignoring_case(text, global_entry_mark))
    return false;
  word = text.substr(global_listing_mark.size(), sensor_word_length);
  while (!word.empty() && word.back() == ' ') word.remove_suffix(1);
  return word.find(' ') == std::string_view::npos;
}

void update_key_kind(const TextBuffer& line, KeyKind& key_kind) {
  if (line.contains(",Profile")) key_kind = KeyKind::Profile;
  if (line.contains(",Alias")) key_kind = KeyKind::Alias;
  if (line.contains(",Host")) key_kind = KeyKind::Host;
  if (line.contains(",Sid")) key_kind = KeyKind::Sid;
}

ConfigStatus take_entry(const TextBuffer& line, SensorEntry& entry, KeyKind& key_kind) {
  const std::string_view text = text_from(line, entry_text_column);
  // Refused rather than cut: a cut entry could lose its sensor allocation or
  // change an option's value without notice.
  if (!entry.text.assign_whole(text)) return ConfigStatus(NumberedError::SensorEntryTooLong);
  if (!entry.text.contains(sensor_allocation)) return ConfigStatus(NumberedError::SensorAllocationInvalid);
  entry.found = true;
  entry.option_text.assign(text.substr(0, text.find(options_end)));
  entry.option_text.replace_all(':', ' ');
  update_key_kind(line, key_kind);
  return ConfigStatus();
}

ConfigStatus read_global_listing_file(std::FILE* file, const RunOptions& options, SensorEntry& entry,
                                      ItemListing& listing) {
  ListingKey listing_key, entry_key;
  form_listing_key(global_listing_mark, options.run_options, listing_key);
  form_listing_key(global_entry_mark, options.run_options, entry_key);
  LineReader reader(file);
  ListingLine line;
  std::size_t overlong_length = 0;
  while (read_listing_line(reader, line, overlong_length)) {
    const bool listing_line = starts_with_ignoring_case(line.view(), listing_key.view());
    const bool entry_line = !listing_line && starts_with_ignoring_case(line.view(), entry_key.view());
    if ((listing_line || entry_line) && overlong_length != 0)
      return refuse_overlong_line(options.first_option_word.view(), overlong_length);
    ConfigStatus taken;
    if (listing_line)
      taken = append_listing_text(listing, line);
    else if (entry_line)
      taken = take_entry(line, entry, listing.key_kind);
    if (!taken.ok()) return taken;
  }
  return ConfigStatus();
}

// Error 1030 names the sensor as the first option word was typed.
ConfigStatus take_global_entry(const SensorEntry& entry, RunOptions& options, ItemListing& listing) {
  listing.item_name.clear();
  const std::size_t keyword = entry.text.find(item_keyword);
  if (keyword != TextBuffer::npos)
    take_item_name(entry.text.view().substr(keyword + item_keyword.size()), listing.item_name);
  if (!entry.found) return ConfigStatus(NumberedError::GlobalSensorNotFound, options.first_option_word.view());
  options.given_options = entry.option_text;
  return ConfigStatus();
}

ConfigStatus read_listing(std::FILE* file, bool item_profile, RunOptions& options, ItemListing& listing) {
  if (item_profile) return read_item_profile(file, listing);
  SensorEntry entry;
  const ConfigStatus read = read_global_listing_file(file, options, entry, listing);
  return read.ok() ? take_global_entry(entry, options, listing) : read;
}

}  // namespace

void form_channel_key(KeyKind key_kind, std::string_view name, const SystemEntry& entry, TextBuffer& key) {
  switch (key_kind) {
    case KeyKind::Profile:
      key.assign(name);
      break;
    case KeyKind::Alias:
      key.assign(
          name.substr(0, name.size() < file_extension_length ? name.size() : name.size() - file_extension_length));
      break;
    case KeyKind::Host:
      // The channel's name goes to the monitor and its database.
      key.clear();
      append_without_route_passwords(key, entry.hostname.view());
      break;
    case KeyKind::Sid:
      key.assign(entry.destination.view());
      break;
  }
}

bool take_next_listed_name(ItemListing& listing, ProfileFileName& name) {
  TextBuffer& names = listing.server_listing;
  const std::size_t end = names.find('#');
  const std::size_t length = end == TextBuffer::npos ? names.size() : end;
  const bool fits = name.assign_whole(names.view().substr(0, length));
  names.drop_front(length + 1);
  return fits && !name.empty();
}

void visit_sensor_words(std::FILE* file, SensorWordVisitor visit, void* context) {
  LineReader reader(file);
  ListingLine line;
  std::size_t overlong_length = 0;
  std::string_view word;
  while (read_listing_line(reader, line, overlong_length))
    if (sensor_word_of(line, word)) visit(word, context);
}

ConfigStatus load_global_listing(const ProfileLocation& location, RunOptions& options, ItemListing& listing) {
  listing.key_kind = KeyKind::Profile;
  listing.server_listing.clear();

  const bool item_profile = location.profile_file_name.equals(item_profile_name);
  const OwnedFile file(location.open_for_reading(location.profile_path.c_str()));
  if (file == nullptr)
    return ConfigStatus(item_profile ? NumberedError::ItemProfileMissing : NumberedError::GlobalListingMissing,
                        location.profile_file_name.view());
  const ConfigStatus read = read_listing(file.get(), item_profile, options, listing);
  if (!read.ok()) return read;
  if (listing.server_listing.empty()) return ConfigStatus(NumberedError::ServerListingMissing);
  if (listing.item_name.empty()) return ConfigStatus(NumberedError::ItemMissing);
  return ConfigStatus();
}
