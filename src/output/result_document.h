// The result document in `result_text`, in the form of the run's output target.
//
// A document is built in this order: open_result_document, begin_result_text,
// the message (add_result_text), end_result_text, any number of channels
// (write_channel), close_result_document.
#pragma once

#include <cstddef>
#include <string_view>

#include "common/bounded_text.h"
#include "common/channel_limits.h"
#include "output/output_target.h"

/// Most characters of the document; 4096 bytes with the NUL.
inline constexpr std::size_t result_text_capacity = 4095;

/// A text as long as the document may be.
using ResultText = BoundedText<result_text_capacity>;

/// Most characters of a document's message text.
inline constexpr std::size_t message_text_capacity = 255;

/// The message text of a document, and other texts of its length.
using MessageText = BoundedText<message_text_capacity>;

/// The run's document and what decides its form.
struct ResultDocument {
  /// The document (or error message) the driver prints.
  ResultText result_text;
  OutputTarget output_target = OutputTarget::EXEXML;
  /// Channels written in this process, dropped ones included.
  unsigned channel_count = 0;
  /// "CH=" in the options: a target that selects by number writes only the
  /// channel of `selected_channel`, as its bare value.
  bool selects_channel = false;
  long selected_channel = 0;
  /// ",LIMITS=": proposed with every channel of the XML targets.
  ChannelLimits limits;
};

/// Replaces `result_text` with the target's document opening.
void open_result_document(ResultDocument& document);

/// Appends the target's opening of the message text.
void begin_result_text(ResultDocument& document);

/// Appends part of the message text; escaped for the XML targets.
void add_result_text(ResultDocument& document, std::string_view text);

/// Appends the target's end of the message text; when the document selects
/// one channel ("Harnick" with "CH=") it empties the document instead, so
/// that only the selected value remains.
void end_result_text(ResultDocument& document);

/// Whether the target selects a channel by number and the options name one.
bool selects_one_channel(const ResultDocument& document);

/// The target's document end, which `close_result_document` appends.
std::string_view result_document_end(OutputTarget target);

/// Appends the target's document end.
void close_result_document(ResultDocument& document);

/// Replaces `result_text` with the monitor's XML error document carrying
/// `message`, whatever the target.  `message` may lie in `result_text` itself.
void write_error_document(ResultDocument& document, std::string_view message);
