#include "output/output_target.h"

#include <iterator>

#include "common/enum_table.h"
#include "common/line_reader.h"

namespace {

using T = OutputTarget;
using S = ChannelSelection;

// One row per target, in the order of OutputTarget.  Only PRTG's own target
// looks for the profile in PRTG's custom-sensor directories.
constexpr OutputTargetDescriptor descriptors[] = {
    {T::EXEXML, "EXEXML", true, 0, S::All, true, &xml_records},
    {T::Miravex, "Miravex", true, 0, S::All, false, &xml_records},
    {T::Tolvane, "Tolvane", true, 0, S::All, false, &xml_records},
    {T::Quelbrin, "Quelbrin", false, 10, S::All, false, &quelbrin_records},
    {T::Harnick, "Harnick", false, 0, S::ByNumber, false, &harnick_records},
};

static_assert(std::size(descriptors) == static_cast<std::size_t>(OutputTarget::count), "one descriptor per target");
static_assert(rows_in_value_order(descriptors, &OutputTargetDescriptor::target),
              "the descriptors in the order of OutputTarget");

constexpr std::size_t target_line_piece = 63;
constexpr const char* trimmed = " \r";

}  // namespace

const OutputTargetDescriptor& output_target_descriptor(OutputTarget target) {
  return descriptors[static_cast<std::size_t>(target)];
}

bool output_target_from_keyword(std::string_view keyword, OutputTarget& target) {
  for (const OutputTargetDescriptor& descriptor : descriptors) {
    if (descriptor.keyword != keyword) continue;
    target = descriptor.target;
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

void form_target_file_refusal(std::string_view path, TextBuffer& refusal) {
  refusal.assign(path);
  refusal.append(" must be one of ");
  for (const OutputTargetDescriptor& descriptor : descriptors) {
    if (descriptor.target != descriptors[0].target) refusal.append(", ");
    refusal.append(descriptor.keyword);
  }
}
