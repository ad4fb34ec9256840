// The stand-in's own trace file, as the vendor's library keeps one: even at
// trace level 0 each failed open appends a line to dev_rfc.trc in the trace
// directory (the working directory until RfcSetTraceDir names another).
#pragma once

#include "nwrfc_library.h"

/// Appends the line of a failed RfcOpenConnection, in the stand-in's own
/// format, to dev_rfc.trc in the trace directory.
void trace_failed_open(const RFC_ERROR_INFO& error);
