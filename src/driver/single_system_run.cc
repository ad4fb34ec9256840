#include "driver/single_system_run.h"

#include <cstdio>

#include "common/program_version.h"
#include "common/rfc_names.h"
#include "config/item_run_checks.h"
#include "config/profile_file.h"
#include "driver/console_lines.h"
#include "driver/page_roll_measurement.h"
#include "driver/run_state.h"
#include "driver/run_steps.h"
#include "output/usage_document.h"
#include "rfc/rfc_connection.h"
#include "rfc/trace_file_scan.h"

namespace {

// The option text as the console shows it: up to the first "#" and the first
// "@"; what a monitor leaves of its own "(Parameters ...)" or "(No ...)"
// placeholder counts as no parameters.  It is formed in its own buffer so
// that overrides after a "#" or "@" still reach the connection.
ConsoleLine shown_run_parameters(const RunOptions& options) {
  ConsoleLine shown = shown_option_text(options.given_options.view());
  shown.cut_at(shown.find('#'));
  shown.cut_at(shown.find('@'));
  if (shown.equals("(Parameters ") || shown.equals("(No ")) shown.clear();
  if (shown.empty()) shown.assign("(No Parameters)");
  return shown;
}

void print_starting_lines(RunState& state) {
  std::FILE* out = state.out;
  print_line(out, state.status_line.view());
  TimeOfDay now;
  local_time_of_day(now);
  build_system_status_line(state.status_line, now, state.location.profile_file_name, state.system_entry);
  state.status_line.append(" State=Processing");
  print_line(out, state.status_line.view());
  state.status_line.assignf("* %s %s - %s State=Executing", now.c_str(), program_name,
                            shown_run_parameters(state.options).c_str());
  print_line(out, state.status_line.view());
}

// A logon file that could not be copied is the sensor's own failure, never in
// the trace file a connection's failure leaves, so the document says it.
int end_run_after_failed_open(RunState& state) {
  ResultText message;
  write_numbered_error(NumberedError::RfcOpenFailed, state.system_entry.destination.view(), message);
  if (!state.rfc.logon_copy_failure.empty()) {
    message.append(' ');
    message.append(state.rfc.logon_copy_failure.view());
  }
  return end_run_with_error(state.document, state.out, message.view());
}

}  // namespace

int run_single_system(RunState& state, OwnedFile profile) {
  ResultDocument& document = state.document;
  const ConfigStatus read =
      read_profile(std::move(profile), state.location.profile_file_name.view(), state.system_entry);
  if (!read.ok()) return end_run_with_error(document, state.out, read.message());
  const ConfigStatus limits =
      check_channel_limits(option_value(state.options, channel_limits_keyword), document.limits);
  if (!limits.ok()) return end_run_with_error(document, state.out, limits.message());
  join_runs_in_directory(state.presence);
  MessageText library_failure;
  if (!prepare_rfc_library(library_failure))
    return end_run_with_error(document, state.out, NumberedError::RfcLibraryUnusable, library_failure.view());
  install_rfc_environment(state.rfc, state.out, state.rfc_error_report);
  if (state.options.console_mode) print_starting_lines(state);

  const TraceWindow trace_window = start_trace_window();
  const rfc_handle handle = open_rfc_connection(state.rfc, state.system_entry, state.options, state.out);
  if (handle == RFC_NULL_HANDLE) return end_run_after_failed_open(state);
  PageRollUsage usage;
  ResultText failure;
  const rfc_result_code code = measure_page_roll_usage(handle, usage, failure);
  RfcClose(handle);
  if (code != RFC_RESULT_OK) {
    scan_rfc_trace_file(failure, trace_window, state.presence);  // the trace file stays for whoever looks into it
    return end_run_with_error(document, state.out, failure.view());
  }
  write_usage_document(document, state.system_entry.destination.view(), usage);
  std::fputs(document.result_text.c_str(), state.out);
  // Another run at work may still need what the trace file holds.
  state.presence.remove_file_while_alone(rfc_trace_file_name);
  if (state.options.console_mode) print_processed_line(state.out);
  return finished_run_exit_code(document);
}
