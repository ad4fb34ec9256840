#include "output/output_target.h"

#include <iterator>

namespace {

// Indexed by OutputTarget.
constexpr std::string_view target_keywords[] = {"EXEXML", "Miravex", "Tolvane", "Quelbrin", "Harnick"};

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
