#include "rfc/trace_file_scan.h"

#include <string_view>

#include "common/line_reader.h"
#include "common/rfc_names.h"
#include "platform/files.h"

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

void examine_trace_line(const TextBuffer& line, TraceErrorText& trace_error_text) {
  const std::string_view text = line.view();
  if (line.starts_with(trace_block_start)) trace_error_text.clear();
  if (line.starts_with(detail_line_start))
    trace_error_text.assign(text.size() > detail_text_column ? text.substr(detail_text_column) : "");
  if (text.size() >= status_text_column && text.substr(status_arrow_column, status_arrow.size()) == status_arrow)
    trace_error_text.assign(text.substr(status_text_column));
}

}  // namespace

void scan_rfc_trace_file(TextBuffer& message) {
  const OwnedFile trace_file(open_file_for_reading(rfc_trace_file_name));
  if (trace_file == nullptr) {
    message.append(" - Look for Trace-File");
    return;
  }
  LineReader reader(trace_file.get());
  BoundedText<trace_piece_length> line;
  TraceErrorText trace_error_text;
  while (reader.read(line, trace_piece_length)) examine_trace_line(line, trace_error_text);
  if (trace_error_text.empty()) {
    message.append(" - Please Check Trace-File !");
  } else {
    message.append(" - ");
    message.append(trace_error_text.view());
  }
}
