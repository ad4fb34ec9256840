#include "driver/sensor_run.h"

#include <cstdio>

#include "config/profile_file.h"
#include "config/profile_name.h"
#include "driver/item_mode_run.h"
#include "driver/listed_system_child.h"
#include "driver/output_target_setting.h"
#include "driver/run_state.h"
#include "driver/single_system_run.h"
#include "output/channel_writer.h"

void start_up(RunState& state) {
  local_time_of_day(state.start_time);
  state.status_line.assignf("* %s SAP %s %s", state.start_time.c_str(), program_name, program_version);
}

void take_run_options(RunState& state) {
  select_channel(state.document, state.options.run_options);
  state.streams.syslog_allowed = state.options.run_options.contains(",SYSLOG");
}

namespace {

// Holds the runs' marks; it stays in the directory, as the lock file does.
constexpr const char* presence_file_name = "Quenmarel.runs";
// Another run holds its gate only while it deletes one file.
constexpr int presence_timeout_ms = 5000;

}  // namespace

void join_runs_in_directory(RunState& state) { state.presence.join(presence_file_name, presence_timeout_ms); }

void end_run_with_error(RunState& state, std::string_view message) {
  write_error_document(state.document, message);
  std::fputs(state.document.result_text.c_str(), state.streams.out);
  exit_process(2);
}

void run_sensor(RunState& state, int argc, const char* const* argv) {
  start_up(state);
  state.program_path = argc > 0 ? argv[0] : "";
  if (argc >= 2 && listed_system_child_marker == argv[1]) run_listed_system_child(state, argc, argv);
  if (argc < 2) end_run_with_error(state, "Error 1001: Parameter for Profile-Name is missing !");
  if (!assemble_run_options(state.options, argc, argv))
    end_run_with_error(state, "Error 1009: Parameters longer than 127 characters !");
  take_run_options(state);
  const ConfigStatus formed = form_profile_name(state.location, state.listing.item_name, state.options, argv[1]);
  if (!formed.ok()) end_run_with_error(state, formed.message());
  ResultText message;
  if (!fix_output_target(state.document.output_target, message)) end_run_with_error(state, message.view());

  OwnedFile profile;
  const bool search_monitor_directories =
      state.document.output_target == OutputTarget::EXEXML && !state.options.run_options.contains("@");
  const ConfigStatus opened = open_profile(state.location, search_monitor_directories, profile);
  if (!opened.ok()) end_run_with_error(state, opened.message());
  if (state.location.item_mode) {
    profile.reset();  // the listing is read afresh from its path
    run_item_mode(state);
  }
  run_single_system(state, std::move(profile));
}
