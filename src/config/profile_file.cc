#include "config/profile_file.h"

#include "config/sensor_directory.h"

namespace {

ProfileDefect read_whole_profile(const OwnedFile& profile, std::size_t piece_length, SystemEntry& entry) {
  ProfileFindings findings;
  read_profile_lines(profile.get(), piece_length, entry, findings, [](unsigned, ProfileLineOutcome) {});
  return profile_verdict(entry, findings);
}

}  // namespace

ConfigStatus open_profile(ProfileLocation& location, bool search_monitor_directories, OwnedFile& profile) {
  if (search_monitor_directories) return resolve_sensor_directory(location, profile);
  join_path(location, location.profile_file_name.view(), location.profile_path);
  profile.reset(location.open_for_reading(location.profile_path.c_str()));
  if (profile == nullptr) return ConfigStatus(NumberedError::ProfileMissing, location.profile_path.view());
  return ConfigStatus();
}

// Read to its end even after a password failure, which still decides: one
// reading serves both runs and the profile tool.
ConfigStatus read_profile(OwnedFile profile, std::string_view profile_file_name, SystemEntry& entry) {
  return profile_defect_status(read_whole_profile(profile, single_run_line_piece, entry), profile_file_name);
}

bool read_listed_profile(OwnedFile profile, SystemEntry& entry) {
  return read_whole_profile(profile, listed_run_line_piece, entry) == ProfileDefect::None;
}
