#include "configuration_check.h"

#include <map>
#include <set>

#include "common/ascii.h"
#include "common/line_reader.h"
#include "config/global_listing.h"
#include "config/sensor_directory.h"
#include "error_remedy.h"
#include "output/output_target.h"
#include "platform/directories.h"
#include "platform/files.h"
#include "profile_check.h"
#include "tool_output.h"

namespace {

constexpr const char* target_file_name = "quenmarel.target";
constexpr std::string_view logon_file_prefix = "SapRfc.";
// The library's own files, and the copies runs make, named like a destination's logon file.
constexpr std::string_view logon_file_copies[] = {"ini", "ini.lock", "ini.new"};
constexpr std::size_t listing_line_piece = 199;
constexpr std::size_t sensor_word_column = 8;
constexpr std::size_t sensor_word_length = 10;

/// What the doctor learnt of the profiles, for the checks of the files that refer to them.
struct KnownProfiles {
  /// Each profile read, by file name, with its destination.
  std::map<std::string, std::string> destinations;
};

// ---- quenmarel.target ----

// Returns whether the sensor searches the monitor's directories.
bool check_target_file(DoctorReport& report) {
  const OwnedFile file(open_file_for_reading(target_file_name));
  if (file == nullptr) {
    report.ok(target_file_name, "none, so the result is PRTG's XML (EXEXML)");
    return true;
  }
  OutputTarget target = OutputTarget::EXEXML;
  if (!output_target_from_file(file.get(), target)) {
    BoundedText<config_message_capacity> name;
    form_target_file_refusal(target_file_name, name);
    ConfigStatus refusal(NumberedError::OutputTargetUnknown, name.view());
    report.error(target_file_name,
                 "its first line names no target, so every run ends with " + std::string(refusal.message()),
                 remedy_of_message(refusal.message()));
    return false;
  }
  report.ok(target_file_name, "selects " + std::string(output_target_keyword(target)));
  return output_target_descriptor(target).searches_monitor_directories;
}

// ---- Profiles ----

void check_one_profile(const std::string& name, DoctorReport& report, KnownProfiles& known) {
  ProfileCheck check;
  if (!check_profile(name, name, check)) {
    report.error(name, "cannot be opened", "make it a readable file");
    return;
  }
  known.destinations[name] = check.entry.destination.c_str();
  if (check.verdict.ok()) {
    report.ok(name, "the sensor accepts it (destination " + std::string(check.entry.destination.c_str()) + ", host " +
                        without_route_passwords(check.entry.hostname.view()) + ")");
    return;
  }
  std::string found;
  for (const std::string& defect : check.defects) found += defect + "; ";
  report.error(name, found + "the sensor refuses it with " + std::string(check.verdict.message()),
               remedy_of_message(check.verdict.message()));
}

// ---- Listings ----

// The sensor words of the global listing file's lines, as written (blanks after them dropped).
std::set<std::string> sensor_words() {
  std::set<std::string> words;
  const OwnedFile file(open_file_for_reading(std::string(global_listing_name).c_str()));
  if (file == nullptr) return words;
  LineReader reader(file.get());
  BoundedText<listing_line_piece> line;
  while (reader.read(line, listing_line_piece)) {
    const std::string_view text = line.view();
    if (!starts_with_ignoring_case(text, "# GSNG: ") && !starts_with_ignoring_case(text, "# GSNX: ")) continue;
    std::string word(text.substr(sensor_word_column, sensor_word_length));
    while (!word.empty() && word.back() == ' ') word.pop_back();
    words.insert(word.substr(0, word.find(' ')));
  }
  return words;
}

void check_listed_names(const InstallationFiles& files, const std::string& subject, ItemListing& listing,
                        DoctorReport& report, std::set<std::string>& listed) {
  std::vector<std::string> absent;
  int count = 0;
  while (!listing.server_listing.empty()) {
    ProfileFileName name;
    if (!take_next_listed_name(listing, name)) continue;
    ++count;
    listed.insert(name.c_str());
    if (!files.has(name.view())) absent.push_back(name.c_str());
  }
  if (absent.empty()) {
    report.ok(subject, "lists " + std::to_string(count) + (count == 1 ? " profile" : " profiles") + ", all present");
    return;
  }
  for (const std::string& name : absent)
    report.error(subject, "lists \"" + name + "\", which is not in this directory, so that system always fails",
                 "write that profile, or correct the listing");
}

void check_listing(const InstallationFiles& files, std::string_view listing_name, const std::string& sensor_word,
                   DoctorReport& report, std::set<std::string>& listed) {
  ProfileLocation location;
  location.profile_file_name.assign(listing_name);
  location.profile_path.assign(listing_name);
  RunOptions options;
  options.given_options.assign(sensor_word);
  options.first_option_word.assign(sensor_word);
  refresh_run_options(options);
  ItemListing listing;
  // The item profile's item comes from the command line, which is not known here.
  listing.item_name.assign("ITEM=");
  const std::string subject =
      std::string(listing_name) +
      (sensor_word.empty() && listing_name == item_profile_name ? "" : " (sensor " + sensor_word + ")");
  const ConfigStatus loaded = load_global_listing(location, options, listing);
  if (!loaded.ok()) {
    report.error(subject, "the sensor refuses it with " + std::string(loaded.message()),
                 remedy_of_message(loaded.message()));
    return;
  }
  check_listed_names(files, subject, listing, report, listed);
}

void check_listings(const InstallationFiles& files, DoctorReport& report, std::set<std::string>& listed) {
  if (files.has(item_profile_name)) check_listing(files, item_profile_name, "", report, listed);
  if (!files.has(global_listing_name)) return;
  const std::set<std::string> words = sensor_words();
  if (words.empty())
    report.error(std::string(global_listing_name), "no # GSNG: or # GSNX: line, so it lists no system",
                 "add a # GSNG: and a # GSNX: line for each sensor");
  for (const std::string& word : words) check_listing(files, global_listing_name, word, report, listed);
}

// ---- SapRfc.<destination> ----

bool is_destination_logon_file(const std::string& name) {
  if (name.compare(0, logon_file_prefix.size(), logon_file_prefix) != 0 || name.size() == logon_file_prefix.size())
    return false;
  for (std::string_view copy : logon_file_copies)
    if (equals_ignoring_case(std::string_view(name).substr(logon_file_prefix.size()), copy)) return false;
  return true;
}

void check_logon_files(const InstallationFiles& files, const KnownProfiles& known, DoctorReport& report) {
  std::map<std::string, std::string> users;  // destination -> first profile that has it
  for (const auto& profile : known.destinations) users.emplace(profile.second, profile.first);
  bool any = false;
  for (const std::string& name : files.names) {
    if (!is_destination_logon_file(name)) continue;
    any = true;
    const std::string destination = name.substr(logon_file_prefix.size());
    const auto user = users.find(destination);
    if (user == users.end())
      report.warning(name, "no profile here has the destination " + destination + ", so no run reads it",
                     "remove it, or correct the destination of the profile it was meant for");
    else
      report.ok(name, "the logon of destination " + destination + " (" + user->second + ")");
  }
  // Without any logon file every profile connects to its own host, as meant.
  if (!any) return;
  for (const auto& profile : known.destinations) {
    const std::string logon_file = std::string(logon_file_prefix) + profile.second;
    if (!profile.second.empty() && !files.has(logon_file))
      report.warning(profile.first,
                     "no " + logon_file +
                         " beside the other destinations' logon files, so it connects to the "
                         "host of the profile",
                     "write " + logon_file + " if this system, too, is reached through a destination");
  }
}

// ---- C:\PRTG_Path.Txt ----

// A directory as a comparable text: slashes, lower case, a final separator,
// without a drive letter.
std::string comparable_directory(std::string_view directory) {
  std::string text;
  if (directory.size() >= 2 && directory[1] == ':') directory.remove_prefix(2);
  for (char c : directory)
    text.push_back(c == '\\' ? '/' : c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c);
  if (text.empty() || text.back() != '/') text.push_back('/');
  return text;
}

void check_path_file(const KnownProfiles& known, bool searched, DoctorReport& report) {
  const bool present = OwnedFile(open_file_for_reading(path_file_name)) != nullptr;
  if (!searched) {
    report.ok(path_file_name, "not read: the target does not search the monitor's directories");
    return;
  }
  if (!present) {
    report.ok(path_file_name,
              "none, so the sensor looks for profiles in its working directory, then in the monitor's standard "
              "directories");
    return;
  }
  if (known.destinations.empty()) {
    report.warning(path_file_name, "present, and no profile here to find through it", "write the profiles here");
    return;
  }
  const std::string profile = known.destinations.begin()->first;
  ProfileLocation location;
  location.profile_file_name.assign(profile);
  OwnedFile found;
  const ConfigStatus resolved = resolve_sensor_directory(location, found);
  const std::string searched_directory = location.sensor_directory.c_str();
  PathText here;
  if (!resolved.ok()) {
    report.error(path_file_name, "the sensor refuses it with " + std::string(resolved.message()),
                 remedy_of_message(resolved.message()));
  } else if (found == nullptr) {
    report.error(path_file_name,
                 "makes the sensor look in " + searched_directory + ", where " + profile +
                     " is not, so every run ends with error 1002",
                 "name this directory, or the monitor's installation above it, on its last line");
  } else if (working_directory(here) && comparable_directory(here.view()) == comparable_directory(searched_directory)) {
    report.ok(path_file_name, "makes the sensor look in " + searched_directory + ", this directory");
  } else {
    report.warning(path_file_name,
                   "makes the sensor look in " + searched_directory + ", not in this directory (" + here.c_str() + ")",
                   "name this directory on its last line if the monitor runs this installation");
  }
}

}  // namespace

void check_configuration(const InstallationFiles& files, DoctorReport& report) {
  const bool searched = check_target_file(report);
  std::set<std::string> listed;
  check_listings(files, report, listed);
  KnownProfiles known;
  for (const std::string& name : files.names)
    if (ends_with_ignoring_case(name, ".P00") || listed.count(name) > 0) check_one_profile(name, report, known);
  check_logon_files(files, known, report);
  check_path_file(known, searched, report);
}
