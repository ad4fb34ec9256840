#include "output/output_target.h"

#include <iterator>

#include "common/enum_table.h"
#include "common/line_reader.h"
#include "output/status_line.h"

namespace {

using T = OutputTarget;
using S = ChannelSelection;
using F = ResultForm;

// One row per target, in the order of OutputTarget.  Only PRTG's own target
// looks for the profile in PRTG's custom-sensor directories.
constexpr OutputTargetDescriptor descriptors[] = {
    {T::EXEXML, "EXEXML", true, 0, S::All, true, F::Document, &xml_records, &monitor_run_endings},
    {T::Miravex, "Miravex", true, 0, S::All, false, F::Document, &xml_records, &monitor_run_endings},
    {T::Tolvane, "Tolvane", true, 0, S::All, false, F::Document, &xml_records, &monitor_run_endings},
    {T::Quelbrin, "Quelbrin", false, 10, S::All, false, F::Document, &quelbrin_records, &monitor_run_endings},
    {T::Harnick, "Harnick", false, 0, S::ByNumber, false, F::Document, &harnick_records, &monitor_run_endings},
    {T::Plugin, "Plugin", false, 0, S::All, false, F::StatusLine, &plugin_records, &plugin_run_endings},
};

static_assert(std::size(descriptors) == static_cast<std::size_t>(OutputTarget::count), "one descriptor per target");
static_assert(rows_in_value_order(descriptors, &OutputTargetDescriptor::target),
              "the descriptors in the order of OutputTarget");

constexpr bool keywords_fit() {
  for (const OutputTargetDescriptor& descriptor : descriptors)
    if (descriptor.keyword.size() > target_keyword_capacity) return false;
  return true;
}
static_assert(keywords_fit(), "every keyword within target_keyword_capacity");

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
