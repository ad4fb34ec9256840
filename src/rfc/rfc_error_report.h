// The handler through which the RFC library reports its own errors.
#pragma once

#include <cstdio>

#include "rfc_library.h"

/// Names where the handler prints; the library passes the handler nothing but
/// the failed operation.
void set_rfc_error_report_output(std::FILE* out);

/// Prints the library's last error and ends the process with code 1.
void RFC_CALL report_rfc_error(char* operation);
