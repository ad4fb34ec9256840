// How a run reports an error that the RFC library signals through its error
// handler.  The handler lives with the connection; what it prints and the
// exit code it ends with are the installation's output target's, which hands
// them over as one of these.
#pragma once

#include <cstddef>
#include <string_view>

#include "common/bounded_text.h"

/// What the handler reports: the library's name of the failed operation and
/// the fields of its last error, each already on one line and without a
/// SAProuter route's passwords.
struct RfcErrorFields {
  std::string_view operation;
  std::string_view key;
  std::string_view status;
  std::string_view message;
  std::string_view internal_status;
};

/// Most characters of a report; the five fields at their capacities fit in any form.
inline constexpr std::size_t rfc_error_report_capacity = 1023;

/// A report as it is printed.
using RfcErrorReport = BoundedText<rfc_error_report_capacity>;

/// One target's form of the report.
struct RfcErrorReportForm {
  /// Writes the report on the library's last error, printed before the
  /// library closes its connections.
  void (*write_report)(TextBuffer& out, const RfcErrorFields& fields);
  /// Printed once the library has closed them, before the process ends.
  std::string_view closing;
  /// The code the process ends with.
  int exit_code;
};
