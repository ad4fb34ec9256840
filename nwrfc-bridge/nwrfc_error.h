// Errors of the NetWeaver library as the classic interface reports them.
#pragma once

#include "common/bounded_text.h"
#include "nwrfc_library.h"

/// Room for a field of RFC_ERROR_INFO as UTF-8: three bytes for each unit.
using ErrorText = BoundedText<3 * 512>;

/// The error's key as UTF-8 on one line (line breaks become blanks), a
/// SAProuter route's passwords hidden.
void error_key_text(const RFC_ERROR_INFO& error, TextBuffer& text);

/// The error's message as UTF-8 on one line (line breaks become blanks), a
/// SAProuter route's passwords hidden.
void error_message_text(const RFC_ERROR_INFO& error, TextBuffer& text);

/// Records a failed NetWeaver function's error as the last error and appends
/// its block to the trace file, as an error of the classic `function`: the
/// classic key of its result code, its key as the status (the code's name
/// when it has none) and its message as the detail (the status when it has none).
void report_nwrfc_error(const char* function, const RFC_ERROR_INFO& error);
