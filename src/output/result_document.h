// The result document in `result_text`, in the form of the run's output target.
//
// A document is built in this order: open_result_document, begin_result_text,
// the message (add_result_text), end_result_text, any number of channels
// (write_channel), close_result_document.  A target whose result is one status
// line collects the channels beside the document and puts the line together
// when the document is closed.
#pragma once

#include <cstddef>
#include <string_view>

#include "common/bounded_text.h"
#include "common/channel_limits.h"
#include "output/output_target.h"
#include "output/result_state.h"
#include "output/status_line.h"

/// Most characters of the document; 4096 bytes with the NUL.
inline constexpr std::size_t result_text_capacity = 4095;

/// A text as long as the document may be.
using ResultText = BoundedText<result_text_capacity>;

/// Most characters of a document's message text.
inline constexpr std::size_t message_text_capacity = 255;

/// The message text of a document, and other texts of its length.
using MessageText = BoundedText<message_text_capacity>;

/// A status line holds its state's opening, a message, the performance
/// values and a line feed within the document's capacity: what the message
/// leaves is the performance values'.  A value that would not fit whole is
/// left out of the line (its state still counts).
inline constexpr std::size_t performance_data_capacity =
    result_text_capacity - state_opening_capacity - message_text_capacity - performance_data_separator.size() - 1;

/// The performance values of a status line.
using PerformanceData = BoundedText<performance_data_capacity>;

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
  /// ",LIMITS=": proposed with every channel of the XML targets, and the
  /// thresholds of the status line's.
  ChannelLimits limits;
  /// The worst state of the channels' values against the limits and of the
  /// listed systems; the status line shows it, its exit code tells it.
  ResultState state = ResultState::OK;
  /// Status line: the channels written so far, as performance values.
  PerformanceData performance_data;
  /// Status line: the listed systems that failed, each on a line of its own,
  /// as many as fit.
  MessageText failed_systems;
  /// Whether a failed system did not fit, and so none after it was noted.
  bool failed_systems_cut = false;
};

/// The descriptor of the document's target.
const OutputTargetDescriptor& target_of(const ResultDocument& document);

/// Replaces `result_text` with the target's document opening, and starts the
/// state, the performance values and the failed systems afresh.
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

/// Appends the target's document end; a status line's target first puts the
/// state in front of the message and the performance values after it.
void close_result_document(ResultDocument& document);

/// Counts a listed system that failed in the document's state (at least a
/// warning) and notes its name for a status line's message.
void note_failed_system(ResultDocument& document, std::string_view name);

/// Appends to an item-mode run's summary, for a status line's target, the
/// names of the failed systems: " (QAS, TST)", as many as fit whole with room
/// for ", ...)", which then says that names were left out.
void name_failed_systems(const ResultDocument& document, TextBuffer& summary);

/// Replaces `result_text` with the target's error document carrying
/// `message`.  `message` may lie in `result_text` itself.
void write_error_document(ResultDocument& document, std::string_view message);

/// The exit code of a run that measured: the state of its values when the
/// target's monitor reads it so, else 0.
int finished_run_exit_code(const ResultDocument& document);
