#include "rfc/trace_file_scan.h"

#include <cstring>
#include <string_view>

#include "common/line_reader.h"
#include "common/rfc_names.h"
#include "common/saprouter_route.h"
#include "platform/files.h"
#include "rfc_library.h"

namespace {

constexpr std::size_t trace_piece_length = 99;

// A block's detail line: "ERROR", blanks up to its text's column, the text.
constexpr std::string_view detail_line_start = "ERROR ";
constexpr std::size_t detail_text_column = 12;

// A block's status line: "T:" and four digits and a blank, the arrow, the text.
constexpr std::string_view status_arrow = "======> ";
constexpr std::size_t status_arrow_column = 7;
constexpr std::size_t status_text_column = status_arrow_column + status_arrow.size();

// Every text starts at its line's column 12 or later, so the rest of a piece always fits.
using TraceErrorText = BoundedText<trace_piece_length - detail_text_column>;

// Applies one line's tests; true when the line set the text anew.
bool examine_trace_line(const TextBuffer& line, TraceErrorText& trace_error_text) {
  const std::string_view text = line.view();
  bool taken = false;
  if (line.starts_with(trace_block_start)) trace_error_text.clear();
  if (line.starts_with(detail_line_start)) {
    trace_error_text.assign(text.size() > detail_text_column ? text.substr(detail_text_column) : "");
    taken = true;
  }
  if (text.size() >= status_text_column && text.substr(status_arrow_column, status_arrow.size()) == status_arrow) {
    trace_error_text.assign(text.substr(status_text_column));
    taken = true;
  }
  return taken;
}

// The message the library gives as this process's last error, as its trace
// would hold it: line breaks become blanks there.  Its status is no help: the
// failures of all runs share a few.
using OwnErrorText = BoundedText<sizeof(rfc_error_info::message)>;

void read_own_error(OwnErrorText& own) {
  rfc_error_info record{};
  RfcLastError(&record);
  own.assign(std::string_view(record.message, strnlen(record.message, sizeof record.message)));
  own.replace_all('\n', ' ');
  own.replace_all('\r', ' ');
}

// Whether the trace text is `own`, or its beginning when the trace's line went
// on beyond the piece the text was taken from.
bool is_own_text(const TextBuffer& trace_text, bool line_went_on, const TextBuffer& own) {
  if (trace_text.empty() || !own.starts_with(trace_text.view())) return false;
  return own.size() == trace_text.size() || line_went_on;
}

// What the scan of this run's part found.
struct TraceFindings {
  bool file_opened = false;
  // The text that counts by the line tests alone.
  TraceErrorText last_text;
  // The last text taken that is also this process's last error message.
  TraceErrorText own_text;
};

void read_trace_window(const TraceWindow& window, const OwnErrorText* own, TraceFindings& found) {
  const OwnedFile trace_file(open_file_for_reading(rfc_trace_file_name));
  if (trace_file == nullptr) return;
  found.file_opened = true;
  std::uint64_t size = 0;
  // A file shorter than at the start was replaced since: all of it is new.
  if (open_file_size(trace_file.get(), size) && size >= window.start) seek_from_start(trace_file.get(), window.start);
  LineReader reader(trace_file.get());
  BoundedText<trace_piece_length> line;
  while (reader.read(line, trace_piece_length)) {
    if (examine_trace_line(line, found.last_text) && own != nullptr &&
        is_own_text(found.last_text, !reader.line_ended(), *own))
      found.own_text = found.last_text;
  }
}

}  // namespace

TraceWindow start_trace_window() {
  TraceWindow window;
  const OwnedFile trace_file(open_file_for_reading(rfc_trace_file_name));
  if (trace_file != nullptr) open_file_size(trace_file.get(), window.start);
  return window;
}

void scan_rfc_trace_file(TextBuffer& message, const TraceWindow& window, const RunPresence& presence) {
  TraceFindings found;
  read_trace_window(window, nullptr, found);
  if (!found.file_opened) {
    message.append(" - Look for Trace-File");
    return;
  }
  // Asked only after the reading: a run that wrote into what was read had
  // joined before it wrote, so it is seen here even when it has ended since.
  const TraceErrorText* text = &found.last_text;
  if (!presence.alone_since_joining()) {
    OwnErrorText own;
    read_own_error(own);
    found = TraceFindings{};
    read_trace_window(window, &own, found);
    text = &found.own_text;
  }
  if (text->empty()) {
    message.append(" - Please Check Trace-File !");
  } else {
    // The library may quote the SAProuter route it was given; the document
    // goes to the monitor and its database, without the route's passwords.
    message.append(" - ");
    append_without_route_passwords(message, text->view());
  }
}
