// One measurement of a connected system: the query through the RFC library,
// then the calculation.
#pragma once

#include "calculation/page_roll_usage.h"
#include "common/bounded_text.h"
#include "rfc_library.h"

/// Queries the system over the open connection and works out its
/// percentages into `usage`; on failure it writes the numbered error text
/// into `failure_text` instead.  Returns the query's result code.
rfc_result_code measure_page_roll_usage(rfc_handle handle, PageRollUsage& usage, TextBuffer& failure_text);
