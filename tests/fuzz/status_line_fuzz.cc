// Any texts a profile, a listing or the RFC library may put into a check
// plugin's status line: a destination in the message, channel names as
// labels, an error message.  The input's first line is the destination (and
// the error message), every further line one listed system's channel name.
// Whatever their bytes, the result is one line the conventions read: the
// state, a message without "|" or control characters, each label quoted
// without a quote or "=" inside; and it reads back as written.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "common/text_characters.h"
#include "fuzz_check.h"
#include "output/result_document.h"
#include "output/usage_document.h"

namespace {

bool holds_control_character(std::string_view text) {
  while (!text.empty()) {
    const TextCharacter character = first_character(text);
    if (is_control_character(character.code_point)) return true;
    text.remove_prefix(character.length);
  }
  return false;
}

// One line ending in its line feed, its message read back as the text
// between the opening and the performance values; returns those.
std::string_view check_one_line(std::string_view line, ResultState expected_state) {
  FUZZ_CHECK(!line.empty() && line.back() == '\n' && line.size() <= result_text_capacity);
  const std::string_view body = line.substr(0, line.size() - 1);
  FUZZ_CHECK(!holds_control_character(body));
  ResultState state = ResultState::OK;
  std::string_view message;
  FUZZ_CHECK(read_status_line(line, state, message) && state == expected_state);
  FUZZ_CHECK(message.find('|') == std::string_view::npos);
  const std::size_t performance = body.find(performance_data_separator);
  return performance == std::string_view::npos ? std::string_view() : body.substr(performance + 2);
}

// Each value " 'label'=N%;W;E;0;": the label quoted, nothing in it the
// conventions cannot carry.
void check_performance_values(std::string_view values, std::size_t written) {
  std::size_t count = 0;
  while (!values.empty()) {
    FUZZ_CHECK(values.substr(0, 2) == " '");
    values.remove_prefix(2);
    const std::size_t quote = values.find('\'');
    FUZZ_CHECK(quote != std::string_view::npos);
    FUZZ_CHECK(values.substr(0, quote).find('=') == std::string_view::npos);
    values.remove_prefix(quote);
    FUZZ_CHECK(values.substr(0, 5) == "'=50%");
    const std::size_t next = values.find(" '");
    FUZZ_CHECK(values.substr(0, next) == "'=50%;40;60;0;");
    values.remove_prefix(next == std::string_view::npos ? values.size() : next);
    ++count;
  }
  FUZZ_CHECK(count == written);
}

void check_item_line(std::string_view destination, std::string_view names) {
  ResultDocument document;
  document.output_target = OutputTarget::Plugin;
  document.limits = ChannelLimits{40, 60};
  open_result_document(document);
  PageRollUsage usage;
  usage.percent[PagesUsed] = 50;
  // Every system is above the warning limit, and failed as well.
  const ResultState state = names.empty() ? ResultState::OK : ResultState::Warning;
  std::size_t written = 0;
  while (!names.empty()) {
    const std::string_view name = names.substr(0, names.find('\n'));
    names.remove_prefix(name.size() < names.size() ? name.size() + 1 : name.size());
    const std::size_t before = document.performance_data.size();
    write_item_channel(document, "Pages Used", name, usage);
    written += document.performance_data.size() > before;
    note_failed_system(document, name);
  }
  MessageText summary(destination);
  name_failed_systems(document, summary);
  begin_result_text(document);
  add_result_text(document, summary.view());
  end_result_text(document);
  close_result_document(document);
  check_performance_values(check_one_line(document.result_text.view(), state), written);
}

void check_error_line(std::string_view message) {
  ResultDocument document;
  document.output_target = OutputTarget::Plugin;
  write_error_document(document, message);
  FUZZ_CHECK(check_one_line(document.result_text.view(), ResultState::Unknown).empty());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const FirstLineAndRest input = split_first_line(data, size);
  check_item_line(input.first_line, input.rest);
  check_error_line(std::string_view(reinterpret_cast<const char*>(data), size));
  return 0;
}
