#include "output/output_target.h"

namespace {
constexpr OutputTarget all_targets[] = {OutputTarget::EXEXML, OutputTarget::Miravex, OutputTarget::Tolvane,
                                        OutputTarget::Quelbrin, OutputTarget::Harnick};
}

std::string_view output_target_keyword(OutputTarget target) {
  switch (target) {
    case OutputTarget::EXEXML: return "EXEXML";
    case OutputTarget::Miravex: return "Miravex";
    case OutputTarget::Tolvane: return "Tolvane";
    case OutputTarget::Quelbrin: return "Quelbrin";
    case OutputTarget::Harnick: return "Harnick";
  }
  return "EXEXML";
}

bool output_target_from_keyword(std::string_view keyword, OutputTarget& target) {
  for (OutputTarget candidate : all_targets) {
    if (output_target_keyword(candidate) == keyword) {
      target = candidate;
      return true;
    }
  }
  return false;
}
