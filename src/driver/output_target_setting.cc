#include "driver/output_target_setting.h"

#include "common/line_reader.h"
#include "platform/files.h"
#include "platform/process.h"

namespace {

constexpr const char* target_file_name = "quenmarel.target";

constexpr std::size_t target_line_piece = 63;
constexpr const char* trimmed = " \r";

}  // namespace

bool output_target_from_file(std::FILE* file, OutputTarget& target) {
  LineReader reader(file);
  BoundedText<target_line_piece> keyword, rest;
  reader.read(keyword, target_line_piece);
  // The whole line counts: what follows the first piece may only be trimmed away.
  bool whole = true;
  while (!reader.line_ended() && reader.read(rest, target_line_piece))
    whole = whole && rest.view().find_first_not_of(trimmed) == TextBuffer::npos;
  keyword.cut_at(keyword.view().find_last_not_of(trimmed) + 1);  // npos + 1 is 0: nothing but blanks
  return whole && output_target_from_keyword(keyword.view(), target);
}

bool fix_output_target(OutputTarget& target, TextBuffer& message) {
  target = OutputTarget::EXEXML;
  PathText path;
  if (!executable_directory(path) || !path.append_whole(target_file_name)) return true;
  const OwnedFile file(open_file_for_reading(path.c_str()));
  if (file == nullptr || output_target_from_file(file.get(), target)) return true;
  message.assignf("Error 1008: Output target in %s must be one of EXEXML, Miravex, Tolvane, Quelbrin, Harnick !",
                  path.c_str());
  return false;
}
