// The result document in `result_text`, in the form of the run's output target.
//
// A document is built in this order: open_result_document, begin_result_text,
// the message (add_result_text), end_result_text, any number of channels
// (write_channel), close_result_document.
#pragma once

#include <string_view>

struct RunState;

/// Replaces `result_text` with the target's document opening.
void open_result_document(RunState& state);

/// Appends the target's opening of the message text.
void begin_result_text(RunState& state);

/// Appends part of the message text; escaped for the XML targets.
void add_result_text(RunState& state, std::string_view text);

/// Appends the target's end of the message text; for "Harnick" with "CH=" it
/// empties the document instead, so that only the selected value remains.
void end_result_text(RunState& state);

/// Appends the target's document end.
void close_result_document(RunState& state);

/// Replaces `result_text` with the monitor's XML error document carrying
/// `message`, whatever the target.  `message` may lie in `result_text` itself.
void write_error_document(RunState& state, std::string_view message);
