#include "output/result_document.h"

#include "driver/run_state.h"
#include "output/xml_text.h"

// What does not fit into `result_text` is cut.  A single-system document stays
// under a thousand bytes and item-mode pieces are printed one channel at a
// time, so only an enormous error message can reach the limit; the error
// document cuts that message and keeps its closing lines.

namespace {

bool options_select_channel(const RunState& state) { return state.run_options.contains("CH="); }

}  // namespace

void open_result_document(RunState& state) {
  if (is_xml_target(state.output_target))
    state.result_text.assign("\n<Prtg>\n");
  else
    state.result_text.clear();
}

void begin_result_text(RunState& state) {
  state.result_text.append(is_xml_target(state.output_target) ? "\n<Text>" : "\n# ");
}

void add_result_text(RunState& state, std::string_view text) {
  if (is_xml_target(state.output_target))
    append_xml_escaped(state.result_text, text);
  else
    state.result_text.append(text);
}

void end_result_text(RunState& state) {
  if (is_xml_target(state.output_target))
    state.result_text.append("</Text>\n");
  else if (state.output_target == OutputTarget::Harnick && options_select_channel(state))
    state.result_text.clear();
}

void close_result_document(RunState& state) {
  state.result_text.append(is_xml_target(state.output_target) ? "\n</Prtg>\n" : "\n");
}

void write_error_document(RunState& state, std::string_view message) {
  static constexpr std::string_view opening = "<Prtg>\n<Error>1</Error>\n<Text>";
  static constexpr std::string_view closing = "</Text>\n</Prtg>\n";
  const BoundedText<4095> copy(message);  // the message may be result_text itself
  state.result_text.assign(opening);
  append_xml_escaped(state.result_text, copy.view(), closing.size());
  state.result_text.append(closing);
}
