// The one remote function call the measurement rests on.
#pragma once

#include "common/bounded_text.h"
#include "common/roll_page_sizes.h"
#include "rfc_library.h"

/// The exception text of a failed call, on one line: longer texts are cut.
using ExceptionText = BoundedText<255>;

/// Calls SAPTUNE_ROLL_PAGE_SIZES over the open connection and returns the
/// library's result code.  Code 0 fills `sizes`; codes 2 and 3 fill
/// `exception_text`, its control characters replaced (append_single_line);
/// any other code leaves both as they were.
rfc_result_code query_roll_page_sizes(rfc_handle handle, RollPageSizes& sizes, ExceptionText& exception_text);
