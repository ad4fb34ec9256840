#include "driver/output_target_setting.h"

#include "common/line_reader.h"
#include "platform/files.h"
#include "platform/process.h"

namespace {

constexpr const char* target_file_name = "quenmarel.target";

// Longer than any keyword, so that a longer line is never mistaken for one.
constexpr std::size_t target_line_piece = 63;

bool is_trimmed(char c) { return c == ' ' || c == '\r'; }

bool only_trimmed(const TextBuffer& text) {
  for (char c : text.view())
    if (!is_trimmed(c)) return false;
  return true;
}

}  // namespace

bool output_target_from_file(std::FILE* file, OutputTarget& target) {
  LineReader reader(file);
  BoundedText<target_line_piece> keyword, rest;
  reader.read(keyword, target_line_piece);
  // The whole line counts: what follows the first piece may only be trimmed away.
  bool whole = true;
  while (!reader.line_ended() && reader.read(rest, target_line_piece)) whole = whole && only_trimmed(rest);
  std::size_t end = keyword.size();
  while (end > 0 && is_trimmed(keyword[end - 1])) --end;
  keyword.cut_at(end);
  return whole && output_target_from_keyword(keyword.view(), target);
}

bool fix_output_target(OutputTarget& target, TextBuffer& target_path) {
  target = OutputTarget::EXEXML;
  if (!executable_directory(target_path) || !target_path.append_whole(target_file_name)) return true;
  const OwnedFile file(open_file_for_reading(target_path.c_str()));
  return file == nullptr || output_target_from_file(file.get(), target);
}
