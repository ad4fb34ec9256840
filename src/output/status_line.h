// The one line by which a check plugin reports to its monitor, by the
// conventions those monitors share: the service and its state, the message,
// and after a "|" one performance value per channel:
// "SAP PAGEROLL WARNING - (PRD) Page/Roll: ... | 'Pages Used'=4%;80;95;0; ...".
#pragma once

#include <algorithm>
#include <cstddef>
#include <iterator>
#include <string_view>

#include "common/bounded_text.h"
#include "common/rfc_error_report_form.h"
#include "output/result_state.h"
#include "output/target_records.h"

/// What the line reports on, in front of its state.
inline constexpr std::string_view status_line_service = "SAP PAGEROLL";

/// Each state as the line names it, in the order of ResultState.
inline constexpr std::string_view state_words[] = {"OK", "WARNING", "CRITICAL", "UNKNOWN"};
static_assert(std::size(state_words) == static_cast<std::size_t>(ResultState::count), "one word per state");

/// Between the state and the message.
inline constexpr std::string_view state_separator = " - ";

/// Most characters of the line's opening "SAP PAGEROLL STATE - ", the longest state's.
inline constexpr std::size_t state_opening_capacity =
    status_line_service.size() + 1 +
    std::max_element(std::begin(state_words), std::end(state_words),
                     [](std::string_view a, std::string_view b) { return a.size() < b.size(); })
        ->size() +
    state_separator.size();

/// Between the message and the performance values, each of which starts with a blank.
inline constexpr std::string_view performance_data_separator = " |";

/// "Plugin": the message; each channel a performance value.  The state goes in
/// front of the message and the performance values after it when the
/// document is closed.
extern const TargetRecords plugin_records;

/// Appends "SAP PAGEROLL STATE - ".
void write_state_opening(TextBuffer& out, ResultState state);

/// Appends a text as the message may carry it: every control character and
/// every "|" (which would start the performance data) become the replacement
/// character.  Leaves at least `keep_free` characters of room; what does not
/// fit is cut before the first character that does not fit whole.  Returns
/// false when cut.
bool append_status_text(TextBuffer& out, std::string_view text, std::size_t keep_free = 0);

/// Appends one channel as a performance value " 'label'=value%;W;E;0;": the
/// label always quoted, its quotes and equals signs (which the conventions
/// cannot carry in a label) and control characters replaced; the limits in
/// the places of the warning and the critical threshold, empty when none is
/// proposed; 0 as the least value.  A unit the conventions do not know is
/// left out.
void write_performance_value(TextBuffer& out, const ChannelRecord& channel);

/// Reads a status line as written here (its line feed may follow): its state
/// and its message, without the performance values; false for a line that is
/// none.
bool read_status_line(std::string_view line, ResultState& state, std::string_view& message);

/// Replaces `out` with the UNKNOWN line of a failed run: the message on one
/// line, cut where the line would not fit, and the line feed.
void write_status_error_line(TextBuffer& out, std::string_view message);

/// Writes the UNKNOWN line of an error the RFC library reported through its
/// handler: "RFC error in OPERATION (KEY): MESSAGE".
void write_status_rfc_error(TextBuffer& out, const RfcErrorFields& fields);
