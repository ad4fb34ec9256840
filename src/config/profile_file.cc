#include "config/profile_file.h"

#include "common/line_reader.h"
#include "config/config_error.h"
#include "config/profile_lines.h"
#include "config/sensor_directory.h"
#include "driver/run_state.h"
#include "driver/sensor_run.h"

namespace {

void close_profile(RunState& state, std::FILE* file) {
  std::fclose(file);
  if (state.profile_file == file) state.profile_file = nullptr;
}

[[noreturn]] void end_with_defect(RunState& state, ProfileDefect defect) {
  BoundedText<127> message;  // the longest prefix and suffix around a 63-character name
  write_profile_defect_message(defect, state.profile_file_name.view(), message);
  end_run_with_error(state, message.view());
}

}  // namespace

void open_profile(RunState& state) {
  if (state.output_target == OutputTarget::EXEXML && !state.run_options.contains("@")) {
    state.profile_file = resolve_sensor_directory(state);
    return;
  }
  state.profile_path.assign(state.sensor_directory.view());
  state.profile_path.append(state.profile_file_name.view());
  state.profile_file = state.open_for_reading(state.profile_path.c_str());
  if (state.profile_file == nullptr)
    end_run_naming(state, "Error 1002: Profile ", state.profile_path.view(), " is missing...");
}

void read_profile(RunState& state, std::FILE* file, ProfileReadMode mode) {
  SystemEntry& entry = state.system_entry;
  entry.entry_valid = true;
  ProfileFindings findings;
  LineReader reader(file);
  BoundedText<listed_run_line_piece> line;
  const std::size_t piece = mode == ProfileReadMode::Single ? single_run_line_piece : listed_run_line_piece;
  while (reader.read(line, piece)) {
    const ProfileDefect defect = password_defect(read_profile_line(line.view(), entry, findings));
    if (defect == ProfileDefect::None) continue;
    if (mode == ProfileReadMode::Listed) {
      entry.entry_valid = false;
      continue;
    }
    close_profile(state, file);
    end_with_defect(state, defect);
  }
  close_profile(state, file);

  const ProfileDefect defect = first_entry_defect(entry, findings);
  if (defect == ProfileDefect::None) return;
  if (mode == ProfileReadMode::Listed) {
    entry.entry_valid = false;
    return;
  }
  end_with_defect(state, defect);
}
