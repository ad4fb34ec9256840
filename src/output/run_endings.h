// How a target's monitor learns how a run ended: the exit codes it reads, the
// document that reports a numbered error, and the report of an error the RFC
// library signals through its handler.
#pragma once

#include <string_view>

#include "common/bounded_text.h"
#include "common/rfc_error_report_form.h"

/// One way of ending runs, shared by the targets of one family of monitors.
struct RunEndings {
  /// Whether a run that measured ends with the state of its values (OK 0,
  /// WARNING 1, CRITICAL 2) as its exit code; otherwise with 0.
  bool exit_code_tells_state;
  /// Replaces `out` with the document that reports a numbered error's message.
  void (*write_error_document)(TextBuffer& out, std::string_view message);
  /// The exit code of a numbered error.
  int numbered_error_exit_code;
  /// The RFC error handler's report and exit code.
  RfcErrorReportForm rfc_error_report;
  /// The exit code of a run whose result did not reach standard output whole,
  /// unless the run had failed already: then it keeps its own.
  int undelivered_exit_code;
};

/// The monitor's XML error document and the "RFC error" block: every target
/// of PRTG and its kin.
extern const RunEndings monitor_run_endings;

/// The conventions of monitors that run check plugins: an UNKNOWN line for
/// every failure, and the state in the exit code.
extern const RunEndings plugin_run_endings;
