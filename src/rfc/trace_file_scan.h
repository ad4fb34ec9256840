// The RFC library's own word on a failure, from its trace file.
#pragma once

struct RunState;

/// Appends to `result_text` " - " and the last error text of "Dev_Rfc.Trc",
/// or a hint to look at that file when it holds none or cannot be opened.
void scan_rfc_trace_file(RunState& state);
