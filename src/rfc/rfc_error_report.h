// The handler through which the RFC library reports its own errors.
#pragma once

#include <cstdio>

#include "common/rfc_error_report_form.h"
#include "rfc_library.h"

/// Names where the handler prints and in which form; the library passes the
/// handler nothing but the failed operation.
void set_rfc_error_report_output(std::FILE* out, const RfcErrorReportForm& form);

/// Prints the library's last error in the form set and ends the process with
/// the form's exit code.
void RFC_CALL report_rfc_error(char* operation);
