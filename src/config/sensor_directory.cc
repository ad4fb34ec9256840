#include "config/sensor_directory.h"

#include <string_view>

#include "common/line_reader.h"
#include "config/config_error.h"
#include "driver/run_state.h"

namespace {

constexpr std::size_t path_file_line_piece = 99;

constexpr std::string_view below_parent = "PRTG Network Monitor\\Custom Sensors\\ExeXml\\";
constexpr std::string_view below_installation = "Custom Sensors\\ExeXml\\";

// Tried in this order when there is no path file; empty is the working directory.
constexpr std::string_view standard_directories[] = {
    "",
    "\\Programme\\PRTG Network Monitor\\Custom Sensors\\ExeXml\\",
    "\\Program Files\\PRTG Network Monitor\\Custom Sensors\\ExeXml\\",
    "\\Program Files (x86)\\PRTG Network Monitor\\Custom Sensors\\ExeXml\\",
};

// Big enough for the longest directory, sub-path and profile name together.
using CandidatePath = BoundedText<255>;

[[noreturn]] void end_with_profile_missing(RunState& state) {
  end_run_naming(state, "Error 1002: Profile ", state.profile_file_name.view(), " is missing...");
}

// A directory that does not fit is refused rather than cut: a cut path would
// point into another directory and could find another profile there.
[[noreturn]] void end_with_directory_too_long(RunState& state) {
  end_run_naming(state, "Error 1017: Sensor Directory in ", path_file_name, " too long...");
}

bool names_directory(const TextBuffer& line) { return line[0] == '\\' || line[2] == '\\' || line[1] == ':'; }

std::FILE* open_in(RunState& state, std::string_view directory) {
  CandidatePath path(directory);
  path.append(state.profile_file_name.view());
  return state.open_for_reading(path.c_str());
}

bool profile_exists_in(RunState& state, std::string_view directory) {
  std::FILE* file = open_in(state, directory);
  if (file == nullptr) return false;
  std::fclose(file);
  return true;
}

// The last line that names a directory counts.  Returns false when that line
// does not fit into `sensor_directory`.
bool read_path_file(std::FILE* path_file, TextBuffer& directory) {
  LineReader reader(path_file);
  BoundedText<path_file_line_piece> line;
  bool last_fits = true;
  while (reader.read(line, path_file_line_piece)) {
    if (!names_directory(line)) continue;
    last_fits = line.size() <= directory.capacity();
    directory.assign(last_fits ? line.view() : std::string_view());
  }
  return last_fits;
}

void descend_if_profile_below(RunState& state, std::string_view sub_path) {
  CandidatePath below(state.sensor_directory.view());
  below.append(sub_path);
  if (!profile_exists_in(state, below.view())) return;
  if (!state.sensor_directory.append_whole(sub_path)) end_with_directory_too_long(state);
}

std::FILE* open_from_path_file(RunState& state, std::FILE* path_file) {
  const bool fits = read_path_file(path_file, state.sensor_directory);
  std::fclose(path_file);
  if (!fits) end_with_directory_too_long(state);
  if (!state.sensor_directory.ends_with('\\') && !state.sensor_directory.append('\\'))
    end_with_directory_too_long(state);
  descend_if_profile_below(state, below_parent);
  descend_if_profile_below(state, below_installation);
  return open_in(state, state.sensor_directory.view());
}

std::FILE* open_from_standard_directories(RunState& state) {
  for (std::string_view directory : standard_directories) {
    std::FILE* profile = open_in(state, directory);
    if (profile == nullptr) continue;
    state.sensor_directory.assign(directory);
    return profile;
  }
  return nullptr;
}

}  // namespace

std::FILE* resolve_sensor_directory(RunState& state) {
  state.sensor_directory.clear();
  std::FILE* path_file = state.open_for_reading(path_file_name);
  std::FILE* profile =
      path_file != nullptr ? open_from_path_file(state, path_file) : open_from_standard_directories(state);
  if (profile == nullptr) end_with_profile_missing(state);
  state.profile_path.assign(state.sensor_directory.view());
  state.profile_path.append(state.profile_file_name.view());
  return profile;
}
