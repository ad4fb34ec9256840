// The handler through which the RFC library reports its own errors.
#pragma once

#include "rfc_library.h"

struct RunState;

/// Names the run whose output the handler writes to; the library passes the
/// handler nothing but the failed operation.
void set_rfc_error_report_state(RunState& state);

/// Prints the library's last error and ends the process with code 1.
void RFC_CALL report_rfc_error(char* operation);
