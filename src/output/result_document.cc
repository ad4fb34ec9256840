#include "output/result_document.h"

#include "common/text_characters.h"
#include "output/xml_text.h"

// What does not fit into `result_text` is cut.  A single-system document stays
// under two thousand bytes, limits included, and item-mode pieces are printed
// one channel at a time, so only an enormous error message can reach the
// limit; the error document cuts that message and keeps its closing lines.  A
// channel is written whole or not at all, with room left for the document end.

void open_result_document(ResultDocument& document) {
  if (is_xml_target(document.output_target))
    document.result_text.assign("\n<Prtg>\n");
  else
    document.result_text.clear();
}

void begin_result_text(ResultDocument& document) {
  document.result_text.append(is_xml_target(document.output_target) ? "\n<Text>" : "\n# ");
}

void add_result_text(ResultDocument& document, std::string_view text) {
  if (is_xml_target(document.output_target))
    append_xml_escaped(document.result_text, text);
  else
    append_single_line(document.result_text, text);  // a profile's value may carry control characters
}

void end_result_text(ResultDocument& document) {
  if (is_xml_target(document.output_target))
    document.result_text.append("</Text>\n");
  else if (document.output_target == OutputTarget::Harnick && document.selects_channel)
    document.result_text.clear();
}

std::string_view result_document_end(OutputTarget target) { return is_xml_target(target) ? "\n</Prtg>\n" : "\n"; }

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
