#include "trace_file.h"

#include <cstdio>

#include "common/rfc_names.h"
#include "platform/files.h"

namespace {

// Counts the lines of the existing file that begin a block.
unsigned count_blocks(std::FILE* file) {
  unsigned blocks = 0;
  std::size_t matched = 0;  // characters of trace_block_start matched at this line's start
  bool at_candidate = true;
  for (int c = std::getc(file); c != EOF; c = std::getc(file)) {
    if (c == '\n') {
      matched = 0;
      at_candidate = true;
      continue;
    }
    if (!at_candidate) continue;
    if (static_cast<char>(c) == trace_block_start[matched]) {
      if (++matched == trace_block_start.size()) {
        ++blocks;
        at_candidate = false;
      }
    } else {
      at_candidate = false;
    }
  }
  return blocks;
}

unsigned next_block_number() {
  std::FILE* existing = open_file_for_reading(rfc_trace_file_name);
  if (existing == nullptr) return 1;
  const unsigned blocks = count_blocks(existing);
  std::fclose(existing);
  return blocks % 9999 + 1;  // four digits, 0001 to 9999 and round again
}

void put_line_text(std::FILE* file, std::string_view text) {
  for (char c : text) std::fputc((c == '\n' || c == '\r' || c == '\0') ? ' ' : c, file);
}

}  // namespace

void write_trace_block(std::string_view function, std::string_view status, std::string_view detail) {
  const unsigned number = next_block_number();
  // Binary mode: the same bytes on every platform.
  std::FILE* file = open_file_for_appending(rfc_trace_file_name);
  if (file == nullptr) return;  // the error is still returned to the caller; only its trace is lost
  std::fputs(trace_block_start.data(), file);
  std::fputs("in ", file);
  put_line_text(file, function);
  std::fprintf(file, "\nT:%04u ======> ", number);
  put_line_text(file, status);
  std::fputs("\nERROR       ", file);
  put_line_text(file, detail);
  std::fputs("\n\n", file);
  std::fclose(file);
}

void write_trace_line(std::string_view text) {
  std::FILE* file = open_file_for_appending(rfc_trace_file_name);
  if (file == nullptr) return;
  put_line_text(file, text);
  std::fputc('\n', file);
  std::fclose(file);
}
