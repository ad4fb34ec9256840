#include "configuration_check.h"

#include <algorithm>
#include <map>
#include <set>

#include "common/ascii.h"
#include "common/channel_names.h"
#include "common/line_reader.h"
#include "common/logon_file_entry.h"
#include "common/logon_file_names.h"
#include "config/global_listing.h"
#include "config/item_run_checks.h"
#include "config/profile_name.h"
#include "config/sensor_directory.h"
#include "error_remedy.h"
#include "output/output_target.h"
#include "platform/directories.h"
#include "platform/files.h"
#include "profile_check.h"
#include "tool_output.h"

namespace {

/// The installation's files and the rule its sensor's system finds them by.
struct Installation {
  const InstallationFiles& files;
  FileNameCase rule;
};

/// What the doctor learnt of the profiles, for the checks of the files that refer to them.
struct KnownProfiles {
  /// Each profile read, by file name, with its destination.
  std::map<std::string, std::string> destinations;
};

std::string refusal(const ConfigStatus& status) {
  return "the sensor refuses it with " + std::string(status.message());
}

// The file the sensor opens by `name`, as its system finds it here, under
// the name the directory gives it (a name with a directory as it is); empty
// when there is none it could read.
std::string file_found(const Installation& installation, const std::string& name) {
  for (const std::string& held : installation.files.named(name, installation.rule))
    if (OwnedFile(open_file_for_reading(held.c_str())) != nullptr) return held;
  return OwnedFile(open_file_for_reading(name.c_str())) != nullptr ? name : std::string();
}

// The sensor reads no more of a profile or listing than the bound.
void check_size(const std::string& name, DoctorReport& report) {
  const OwnedFile file(open_file_for_reading(name.c_str()));
  std::uint64_t size = 0;
  if (file == nullptr || !open_file_size(file.get(), size) || size <= text_file_byte_bound) return;
  report.warning(
      name,
      std::to_string(size) + " bytes, of which the sensor reads only the first " + std::to_string(text_file_byte_bound),
      "keep only its own lines in it");
}

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

// The profile's host as the doctor shows it.
std::string shown_host(const SystemEntry& entry) { return without_route_passwords(entry.hostname.view()); }

std::string joined_defects(const ProfileCheck& check) {
  std::string found;
  for (const std::string& defect : check.defects) found += (found.empty() ? "" : "; ") + defect;
  return found;
}

void check_one_profile(const std::string& name, DoctorReport& report, KnownProfiles& known) {
  ProfileCheck check;
  if (!check_profile(name, name, check)) {
    report.error(name, "cannot be opened", "make it a readable file");
    return;
  }
  known.destinations[name] = check.entry.destination.c_str();
  if (!check.verdict.ok()) {
    const std::string defects = joined_defects(check);
    report.error(name, defects + (defects.empty() ? "" : "; ") + refusal(check.verdict),
                 remedy_of_message(check.verdict.message()));
  } else if (!check.misreadings.empty()) {
    report.error(name, joined_defects(check), joined_remedies(check));
  } else {
    report.ok(name, "the sensor accepts it (destination " + std::string(check.entry.destination.c_str()) + ", host " +
                        shown_host(check.entry) + ")");
  }
  check_size(name, report);
}

void check_profiles(const Installation& installation, const std::set<std::string>& listed, DoctorReport& report,
                    KnownProfiles& known) {
  std::set<std::string> checked;
  for (const std::string& name : installation.files.names)
    if (ends_with_ignoring_case(name, default_profile_extension) || listed.count(name) > 0) {
      check_one_profile(name, report, known);
      checked.insert(name);
    }
  // Listed with a directory of their own.
  for (const std::string& name : listed)
    if (checked.count(name) == 0) check_one_profile(name, report, known);
}

// ---- Listings ----

void absent_listed_name(const std::string& subject, const ProfileFileName& name, std::string_view taken,
                        DoctorReport& report) {
  const std::string remedy = "write that profile, or correct the listing";
  if (taken.empty())
    report.error(subject, "lists an empty name (two # in a row), counted as a system and never measured",
                 "remove the extra #");
  else if (name.empty())
    report.error(subject,
                 "lists \"" + std::string(taken) + "\", longer than a profile's file name may be, so that system " +
                     "always fails",
                 remedy);
  else
    report.error(subject,
                 "lists \"" + std::string(taken) + "\", which is not in this directory, so that system always fails",
                 remedy);
}

void check_listed_names(const Installation& installation, const std::string& subject, ItemListing& listing,
                        DoctorReport& report, std::set<std::string>& listed) {
  int count = 0;
  bool all_present = true;
  while (!listing.server_listing.empty()) {
    const std::string taken(listing.server_listing.view().substr(0, listing.server_listing.find('#')));
    ProfileFileName name;
    const bool usable = take_next_listed_name(listing, name);
    ++count;
    const std::string found = usable ? file_found(installation, name.c_str()) : std::string();
    if (!found.empty()) {
      listed.insert(found);
      continue;
    }
    all_present = false;
    absent_listed_name(subject, name, taken, report);
  }
  if (all_present)
    report.ok(subject, "lists " + std::to_string(count) + (count == 1 ? " profile" : " profiles") + ", all present");
}

// The listing as the sensor reads it from the file `file` (its name under the
// sensor's rule is `listing_name`) for a run given `sensor_word`, with the
// checks of its item and options the sensor makes before it prints anything.
void check_listing(const Installation& installation, const std::string& file, std::string_view listing_name,
                   const std::string& sensor_word, DoctorReport& report, std::set<std::string>& listed) {
  ProfileLocation location;
  location.profile_file_name.assign(listing_name);
  location.profile_path.assign(file);
  RunOptions options;
  options.given_options.assign(sensor_word);
  options.first_option_word.assign(sensor_word);
  refresh_run_options(options);
  const RunOptions command_line = options;
  ItemListing listing;
  // The item profile's item comes from the command line, which is not known
  // here: any of the valid ones stands for it.
  listing.item_name.assign(channel_names[0]);
  const bool item_profile = listing_name == item_profile_name;
  const std::string subject = file + (item_profile ? "" : " (sensor " + sensor_word + ")");
  ConfigStatus verdict = load_global_listing(location, options, listing);
  ItemRunSettings settings;
  if (verdict.ok()) {
    refresh_run_options(options);
    verdict = check_item_run(listing, options, command_line, settings);
  }
  if (!verdict.ok())
    report.error(subject, refusal(verdict), remedy_of_message(verdict.message()));
  else
    check_listed_names(installation, subject, listing, report, listed);
}

void add_sensor_word(std::string_view word, void* context) {
  auto& words = *static_cast<std::vector<std::string>*>(context);
  if (std::none_of(words.begin(), words.end(),
                   [&](const std::string& seen) { return equals_ignoring_case(seen, word); }))
    words.emplace_back(word);
}

// Each sensor word the global listing file holds lines for, once (the sensor
// matches them in any letter case), as first written, in the file's order.
std::vector<std::string> sensor_words(const std::string& file) {
  std::vector<std::string> words;
  const OwnedFile listing(open_file_for_reading(file.c_str()));
  if (listing != nullptr) visit_sensor_words(listing.get(), add_sensor_word, &words);
  return words;
}

// The listing file the sensor reads under `listing_name`; empty, and said,
// when something by that name is there that the sensor cannot read.
std::string listing_file(const Installation& installation, std::string_view listing_name, DoctorReport& report) {
  const std::string name(listing_name);
  const std::string found = file_found(installation, name);
  const std::vector<std::string> held = installation.files.named(name, installation.rule);
  if (found.empty() && !held.empty())
    report.error(held.front(), "not a regular file the sensor can read, so its runs end with error 1002",
                 "make it a readable file");
  return found;
}

void check_listings(const Installation& installation, DoctorReport& report, std::set<std::string>& listed) {
  const std::string item_profile = listing_file(installation, item_profile_name, report);
  if (!item_profile.empty()) {
    check_listing(installation, item_profile, item_profile_name, "", report, listed);
    check_size(item_profile, report);
  }
  const std::string global_listing = listing_file(installation, global_listing_name, report);
  if (global_listing.empty()) return;
  const std::vector<std::string> words = sensor_words(global_listing);
  if (words.empty())
    report.error(global_listing, "no # GSNG: or # GSNX: line, so it lists no system",
                 "add a # GSNG: and a # GSNX: line for each sensor");
  for (const std::string& word : words)
    check_listing(installation, global_listing, global_listing_name, word, report, listed);
  check_size(global_listing, report);
}

// ---- SapRfc.<destination> ----

bool is_destination_logon_file(const std::string& name, FileNameCase rule) {
  if (!file_name_starts_with(name, destination_logon_file_prefix, rule) ||
      name.size() == destination_logon_file_prefix.size())
    return false;
  for (const char* own : {default_logon_file_name, logon_file_lock_name, logon_file_temporary_name})
    if (same_file_name(name, own, rule)) return false;
  return true;
}

std::string logon_file_of(const std::string& destination) {
  PathText name;
  form_destination_logon_file_name(destination, name);
  return name.c_str();
}

// The entry the library looks for when the sensor connects through `name`.
void check_logon_entry(const std::string& name, const std::string& destination, const std::string& profile,
                       DoctorReport& report) {
  const OwnedFile file(open_file_for_reading(name.c_str()));
  LogonFileEntry entry;
  const LogonFileLookup lookup =
      file == nullptr ? LogonFileLookup::NoFile : read_logon_entry(file.get(), destination, entry);
  const std::string fails = ", so every run of " + profile + " ends with " +
                            std::string(ConfigStatus(NumberedError::RfcOpenFailed, destination).message());
  if (lookup == LogonFileLookup::NoFile)
    report.error(name, "cannot be read" + fails, "make it a readable file");
  else if (lookup != LogonFileLookup::Found)
    report.error(name, "holds no entry DEST=" + destination + fails,
                 "begin the entry of " + destination + " with the line DEST=" + destination);
  else if (!entry.overlong_key.empty())
    report.error(name,
                 "its value of " + std::string(entry.overlong_key.c_str()) + " is longer than " +
                     std::to_string(LogonFileValue::max_length) + " characters" + fails,
                 "shorten it");
  else
    report.ok(name, "the logon of destination " + destination + " (" + profile + ")");
}

void check_logon_files(const Installation& installation, const KnownProfiles& known, DoctorReport& report) {
  bool any = false;
  for (const std::string& name : installation.files.names) {
    if (!is_destination_logon_file(name, installation.rule)) continue;
    any = true;
    const auto user = std::find_if(known.destinations.begin(), known.destinations.end(), [&](const auto& profile) {
      return same_file_name(logon_file_of(profile.second), name, installation.rule);
    });
    const std::string destination = name.substr(destination_logon_file_prefix.size());
    if (user == known.destinations.end())
      report.warning(name, "no profile here has the destination " + destination + ", so no run reads it",
                     "remove it, or correct the destination of the profile it was meant for");
    else
      check_logon_entry(name, user->second, user->first, report);
  }
  // Without any logon file every profile connects to its own host, as meant.
  if (!any) return;
  for (const auto& profile : known.destinations) {
    const std::string logon_file = logon_file_of(profile.second);
    if (!profile.second.empty() && installation.files.named(logon_file, installation.rule).empty())
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
    report.error(path_file_name, refusal(resolved), remedy_of_message(resolved.message()));
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

OutputTarget installation_output_target() {
  const OwnedFile file(open_file_for_reading(target_file_name));
  OutputTarget target = OutputTarget::EXEXML;
  if (file == nullptr || !output_target_from_file(file.get(), target)) return OutputTarget::EXEXML;
  return target;
}

void check_configuration(const InstallationFiles& files, FileNameCase rule, DoctorReport& report) {
  const Installation installation{files, rule};
  const bool searched = check_target_file(report);
  std::set<std::string> listed;
  check_listings(installation, report, listed);
  KnownProfiles known;
  check_profiles(installation, listed, report, known);
  check_logon_files(installation, known, report);
  check_path_file(known, searched, report);
}
