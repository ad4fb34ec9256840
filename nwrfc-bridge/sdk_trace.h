// The NetWeaver library's own trace files, kept out of the sensor's
// Dev_Rfc.Trc: the library writes even at level 0 (severe errors to its
// dev_rfc.trc, which on Windows is the sensor's file), and RFC_TRACE switches
// its full tracing on.
#pragma once

#include <string_view>

#include "nwrfc_library.h"

/// Points the library's trace files to the trace directory (nwrfc-trace in
/// the working directory, made for this account alone if missing), at the
/// level RFC_TRACE asks for.  Either function may be null (a library without
/// it); then, as when the directory cannot be made, the library keeps its own
/// default.  A link in place of the directory or of a file written in it
/// turns the trace off for the run (level 0, the library's default
/// directory), and Dev_Rfc.Trc says so.
void direct_sdk_trace(RfcSetTraceDir_function set_trace_dir, RfcSetTraceLevel_function set_trace_level);

/// Appends a line to the bridge's file in the trace directory, when RFC_TRACE
/// asks for tracing and the directory was found fit; never through a link.
void write_bridge_trace_line(std::string_view text);
