#include "output/result_document.h"

#include "output/xml_text.h"

// What does not fit into `result_text` is cut.  A single-system document stays
// under two thousand bytes, limits included, and item-mode pieces are printed
// one channel at a time, so only an enormous error message can reach the
// limit; the error document cuts that message and keeps its closing lines.  A
// channel is written whole or not at all, with room left for the document end.

namespace {

const TargetRecords& records_of(const ResultDocument& document) { return *target_of(document).records; }

bool writes_status_line(const ResultDocument& document) { return target_of(document).form == ResultForm::StatusLine; }

// The message written so far becomes the status line: the state in front of
// it, the performance values after it.
void put_status_line_together(ResultDocument& document) {
  const ResultText message(document.result_text.view());
  TextBuffer& line = document.result_text;
  line.clear();
  write_state_opening(line, document.state);
  line.append(message.view());
  if (document.performance_data.empty()) return;
  line.append(performance_data_separator);
  line.append(document.performance_data.view());
}

constexpr std::string_view failed_systems_opening = " (";
constexpr std::string_view failed_systems_closing = ")";
constexpr std::string_view names_left_out = ", ...";

}  // namespace

const OutputTargetDescriptor& target_of(const ResultDocument& document) {
  return output_target_descriptor(document.output_target);
}

void open_result_document(ResultDocument& document) {
  document.result_text.assign(records_of(document).document_opening);
  document.state = ResultState::OK;
  document.performance_data.clear();
  document.failed_systems.clear();
  document.failed_systems_cut = false;
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
  return document.selects_channel && target_of(document).selection == ChannelSelection::ByNumber;
}

std::string_view result_document_end(OutputTarget target) {
  return output_target_descriptor(target).records->document_end;
}

void close_result_document(ResultDocument& document) {
  if (writes_status_line(document)) put_status_line_together(document);
  document.result_text.append(result_document_end(document.output_target));
}

void note_failed_system(ResultDocument& document, std::string_view name) {
  document.state = worse_state(document.state, ResultState::Warning);
  if (document.failed_systems_cut) return;
  // Names are kept as the message carries them, so that none holds the line
  // feed that ends it here; once one did not fit, later ones are not named
  // either, and the message says so.
  MessageText line;
  append_status_text(line, name, 1);
  line.append('\n');
  document.failed_systems_cut = !document.failed_systems.append_whole(line.view());
}

void name_failed_systems(const ResultDocument& document, TextBuffer& summary) {
  if (!writes_status_line(document) || document.failed_systems.empty()) return;
  const std::size_t kept_free = names_left_out.size() + failed_systems_closing.size();
  bool all_named = !document.failed_systems_cut;
  summary.append(failed_systems_opening);
  std::string_view names = document.failed_systems.view();
  for (std::string_view separator; !names.empty(); separator = ", ") {
    const std::string_view name = names.substr(0, names.find('\n'));
    names.remove_prefix(name.size() + 1);
    if (summary.room() < separator.size() + name.size() + kept_free) {
      all_named = false;
      break;
    }
    summary.append(separator);
    summary.append(name);
  }
  if (!all_named) summary.append(names_left_out);
  summary.append(failed_systems_closing);
}

void write_error_document(ResultDocument& document, std::string_view message) {
  const ResultText copy(message);  // the message may be result_text itself
  target_of(document).endings->write_error_document(document.result_text, copy.view());
}

int finished_run_exit_code(const ResultDocument& document) {
  return target_of(document).endings->exit_code_tells_state ? static_cast<int>(document.state) : 0;
}
