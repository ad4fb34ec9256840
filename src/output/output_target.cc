#include "output/output_target.h"

#include <iterator>

#include "common/bounded_text.h"
#include "common/line_reader.h"

namespace {

// Indexed by OutputTarget.
constexpr std::string_view target_keywords[] = {"EXEXML", "Miravex", "Tolvane", "Quelbrin", "Harnick"};

constexpr std::size_t target_line_piece = 63;
constexpr const char* trimmed = " \r";

}  // namespace

std::string_view output_target_keyword(OutputTarget target) {
  return target_keywords[static_cast<std::size_t>(target)];
}

bool output_target_from_keyword(std::string_view keyword, OutputTarget& target) {
  for (std::size_t i = 0; i < std::size(target_keywords); ++i) {
    if (target_keywords[i] != keyword) continue;
    target = static_cast<OutputTarget>(i);
    return true;
  }
  return false;
}

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
