#include "config/sensor_directory.h"

#include <string_view>

#include "common/line_reader.h"

namespace {

constexpr std::size_t path_file_line_piece = 99;

// Notepad's "UTF-8" puts these three bytes before the first line.
constexpr std::string_view utf8_byte_order_mark = "\xEF\xBB\xBF";

constexpr std::string_view below_parent = "PRTG Network Monitor\\Custom Sensors\\ExeXml\\";
constexpr std::string_view below_installation = "Custom Sensors\\ExeXml\\";

// Tried in this order when there is no path file; empty is the working directory.
constexpr std::string_view standard_directories[] = {
    "",
    "\\Programme\\PRTG Network Monitor\\Custom Sensors\\ExeXml\\",
    "\\Program Files\\PRTG Network Monitor\\Custom Sensors\\ExeXml\\",
    "\\Program Files (x86)\\PRTG Network Monitor\\Custom Sensors\\ExeXml\\",
};

// The longest directory, the longer sub-path and the longest profile name together.
using CandidatePath = BoundedText<profile_path_capacity + below_parent.size()>;

bool names_directory(const TextBuffer& line) { return line[0] == '\\' || line[2] == '\\' || line[1] == ':'; }

OwnedFile open_in(const ProfileLocation& location, std::string_view directory) {
  CandidatePath path(directory);
  path.append(location.profile_file_name.view());
  return OwnedFile(location.open_for_reading(path.c_str()));
}

// The last line that names a directory counts.  Returns false when that line
// does not fit into `directory`.
bool read_path_file(OwnedFile path_file, TextBuffer& directory) {
  LineReader reader(path_file.get());
  BoundedText<path_file_line_piece> line;
  bool last_fits = true;
  bool first = true;
  while (reader.read(line, path_file_line_piece)) {
    // A longer line is one directory that does not fit, never a piece taken
    // for a directory of its own.
    const bool whole = reader.skip_rest_of_line() == 0;
    if (first && line.starts_with(utf8_byte_order_mark)) line.drop_front(utf8_byte_order_mark.size());
    first = false;
    if (names_directory(line)) last_fits = whole && directory.assign_whole(line.view());
  }
  return last_fits;
}

// False when the profile lies below but the longer directory does not fit.
bool descend_if_profile_below(ProfileLocation& location, std::string_view sub_path) {
  CandidatePath below(location.sensor_directory.view());
  below.append(sub_path);
  return open_in(location, below.view()) == nullptr || location.sensor_directory.append_whole(sub_path);
}

ConfigStatus open_from_path_file(ProfileLocation& location, OwnedFile path_file, OwnedFile& profile) {
  TextBuffer& directory = location.sensor_directory;
  const bool fits =
      read_path_file(std::move(path_file), directory) && (directory.ends_with('\\') || directory.append('\\')) &&
      descend_if_profile_below(location, below_parent) && descend_if_profile_below(location, below_installation);
  // A directory that does not fit is refused rather than cut: a cut path would
  // point into another directory and could find another profile there.
  if (!fits) return ConfigStatus(NumberedError::SensorDirectoryTooLong, path_file_name);
  profile = open_in(location, directory.view());
  return ConfigStatus();
}

OwnedFile open_from_standard_directories(ProfileLocation& location) {
  for (std::string_view directory : standard_directories) {
    OwnedFile profile = open_in(location, directory);
    if (profile == nullptr) continue;
    location.sensor_directory.assign(directory);
    return profile;
  }
  return nullptr;
}

}  // namespace

ConfigStatus resolve_sensor_directory(ProfileLocation& location, OwnedFile& profile) {
  location.sensor_directory.clear();
  OwnedFile path_file(location.open_for_reading(path_file_name));
  if (path_file != nullptr) {
    const ConfigStatus found = open_from_path_file(location, std::move(path_file), profile);
    if (!found.ok()) return found;
  } else {
    profile = open_from_standard_directories(location);
  }
  if (profile == nullptr) return ConfigStatus(NumberedError::ProfileMissing, location.profile_file_name.view());
  join_path(location, location.profile_file_name.view(), location.profile_path);
  return ConfigStatus();
}
