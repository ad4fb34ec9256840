#include "output/result_document.h"

#include "output/xml_text.h"

// What does not fit into `result_text` is cut.  A single-system document stays
// under two thousand bytes, limits included, and item-mode pieces are printed
// one channel at a time, so only an enormous error message can reach the
// limit; the error document cuts that message and keeps its closing lines.  A
// channel is written whole or not at all, with room left for the document end.

namespace {

const TargetRecords& records_of(const ResultDocument& document) {
  return *output_target_descriptor(document.output_target).records;
}

}  // namespace

void open_result_document(ResultDocument& document) {
  document.result_text.assign(records_of(document).document_opening);
}

void begin_result_text(ResultDocument& document) { document.result_text.append(records_of(document).text_opening); }

void add_result_text(ResultDocument& document, std::string_view text) {
  records_of(document).write_text(document.result_text, text);
}

void end_result_text(ResultDocument& document) {
  if (selects_one_channel(document))
    document.result_text.clear();
  else
    document.result_text.append(records_of(document).text_end);
}

bool selects_one_channel(const ResultDocument& document) {
  return document.selects_channel &&
         output_target_descriptor(document.output_target).selection == ChannelSelection::ByNumber;
}

std::string_view result_document_end(OutputTarget target) {
  return output_target_descriptor(target).records->document_end;
}

void close_result_document(ResultDocument& document) {
  document.result_text.append(result_document_end(document.output_target));
}

void write_error_document(ResultDocument& document, std::string_view message) {
  static constexpr std::string_view opening = "<Prtg>\n<Error>1</Error>\n<Text>";
  static constexpr std::string_view closing = "</Text>\n</Prtg>\n";
  const ResultText copy(message);  // the message may be result_text itself
  document.result_text.assign(opening);
  append_xml_escaped(document.result_text, copy.view(), closing.size());
  document.result_text.append(closing);
}
