#include "platform/trace_file.h"

#include <cstdio>

#include "common/bounded_text.h"
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

// A block is appended in one piece, so that the blocks of processes failing at
// the same moment never mix.  The function and the status are short texts of
// the library's own; a detail too long for the block is cut, never its end.
using TraceBlock = BoundedText<4095>;
constexpr std::size_t short_text_length = 127;
constexpr std::size_t block_end_length = 2;

// Appends `text` with its line breaks as blanks, so that no text can forge a
// line, keeping `keep_free` characters of room.
void append_line_text(TraceBlock& block, std::string_view text, std::size_t keep_free) {
  for (char c : text) {
    if (block.room() <= keep_free) return;
    block.append((c == '\n' || c == '\r' || c == '\0') ? ' ' : c);
  }
}

std::string_view at_most(std::string_view text, std::size_t length) { return text.substr(0, length); }

}  // namespace

void write_trace_block(std::string_view function, std::string_view status, std::string_view detail) {
  TraceBlock block(trace_block_start);
  block.append("in ");
  append_line_text(block, at_most(function, short_text_length), 0);
  block.appendf("\nT:%04u ======> ", next_block_number());
  append_line_text(block, at_most(status, short_text_length), 0);
  block.append("\nERROR       ");
  append_line_text(block, detail, block_end_length);
  block.append("\n\n");
  // On failure the error is still returned to the caller; only its trace is lost.
  append_in_one_piece(rfc_trace_file_name, block.view());
}

void write_trace_line(std::string_view text) {
  TraceBlock line;
  append_line_text(line, text, 1);
  line.append('\n');
  append_in_one_piece(rfc_trace_file_name, line.view());
}
