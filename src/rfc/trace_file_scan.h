// The RFC library's own word on a failure, from its trace file.
#pragma once

#include "common/bounded_text.h"

/// Appends to `message` " - " and the last error text of the library's trace
/// file, or a hint to look at that file when it holds none or cannot be opened.
void scan_rfc_trace_file(TextBuffer& message);
