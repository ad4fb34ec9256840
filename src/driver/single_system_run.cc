#include "driver/single_system_run.h"

#include <cstdio>

#include "calculation/page_roll_usage.h"
#include "config/profile_file.h"
#include "driver/console_lines.h"
#include "driver/run_state.h"
#include "driver/sensor_run.h"
#include "output/console_routines.h"
#include "platform/files.h"
#include "platform/process.h"
#include "rfc/rfc_connection.h"
#include "rfc/trace_file_scan.h"

namespace {

constexpr const char* trace_file_name = "Dev_Rfc.Trc";

// The option text as the console shows it: up to the first "#" and the first
// "@"; what a monitor leaves of its own "(Parameters ...)" or "(No ...)"
// placeholder counts as no parameters.  It is formed in its own buffer so
// that overrides after a "#" or "@" still reach the connection.
ConsoleLine shown_option_text(const RunState& state) {
  ConsoleLine shown(state.given_options.view());
  shown.cut_at(shown.find('#'));
  shown.cut_at(shown.find('@'));
  if (shown.equals("(Parameters ") || shown.equals("(No ")) shown.clear();
  if (shown.empty()) shown.assign("(No Parameters)");
  return shown;
}

void print_starting_lines(RunState& state) {
  print_line(state, state.status_line.view());
  BoundedText<8> now;
  local_time_of_day(now);
  build_system_status_line(state, state.profile_file_name, now);
  state.status_line.append(" State=Processing");
  print_line(state, state.status_line.view());
  state.status_line.assignf("* %s %s - %s", now.c_str(), program_name, shown_option_text(state).c_str());
  state.status_line.append(" State=Executing");
  print_line(state, state.status_line.view());
}

[[noreturn]] void end_with_failed_measurement(RunState& state) {
  scan_rfc_trace_file(state);
  const BoundedText<4095> message(state.result_text);
  end_run_with_error(state, message.view());
}

}  // namespace

void run_single_system(RunState& state) {
  read_profile(state, state.profile_file, ProfileReadMode::Single);
  state.profile_file = nullptr;
  write_syslog_line(state, RFC_NULL_HANDLE, "program started", state.program_path);
  install_rfc_environment(state);
  write_syslog_line(state, RFC_NULL_HANDLE, "RfcEnvironment called", "");
  state.result_text.clear();
  state.run_status = RunStatus::ERR;
  if (state.console_mode) print_starting_lines(state);

  state.connection_handle = open_rfc_connection(state);
  if (state.connection_handle == RFC_NULL_HANDLE) {
    BoundedText<63> message;
    message.assignf("Error 1011: RFC-Open for %s failed !", state.system_entry.destination.c_str());
    end_run_with_error(state, message.view());
  }
  state.run_status = RunStatus::ERR;
  state.run_result = calculate_page_roll_usage(state, state.connection_handle);
  RfcClose(state.connection_handle);
  state.connection_handle = RFC_NULL_HANDLE;

  if (state.run_status != RunStatus::OK) end_with_failed_measurement(state);
  std::fputs(state.result_text.c_str(), state.out);
  remove_file(trace_file_name);
  if (state.console_mode) print_processed_line(state);
  exit_process(state.console_mode ? 0 : state.run_result);
}
