#include "rfc/trace_file_scan.h"

#include <cstdio>

#include "common/line_reader.h"
#include "driver/run_state.h"

namespace {

constexpr std::size_t trace_piece_length = 99;

// Lines are at most 99 characters and the text starts at offset 12 or later,
// so the text always fits.
using TraceErrorText = BoundedText<87>;

void examine_trace_line(const TextBuffer& line, TraceErrorText& trace_error_text) {
  if (line.starts_with("**** ERROR ")) trace_error_text.clear();
  if (line.starts_with("ERROR ")) trace_error_text.assign(line.size() > 12 ? line.view().substr(12) : "");
  if (line.size() >= 15 && line.view().substr(7, 8) == "======> ") trace_error_text.assign(line.view().substr(15));
}

}  // namespace

void scan_rfc_trace_file(RunState& state) {
  TraceErrorText trace_error_text;
  std::FILE* trace_file = state.open_for_reading("Dev_Rfc.Trc");
  if (trace_file == nullptr) {
    state.result_text.append(" - Look for Trace-File");
    return;
  }
  LineReader reader(trace_file);
  BoundedText<trace_piece_length> line;
  while (reader.read(line, trace_piece_length)) examine_trace_line(line, trace_error_text);
  std::fclose(trace_file);
  if (trace_error_text.empty()) {
    state.result_text.append(" - Please Check Trace-File !");
  } else {
    state.result_text.append(" - ");
    state.result_text.append(trace_error_text.view());
  }
}
