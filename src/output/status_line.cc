#include "output/status_line.h"

#include "common/text_characters.h"

namespace {

// What stands for a character a label cannot carry: the conventions quote a
// label in "'" and end it at "=".
constexpr char label_replacement = '_';

// The least value of every channel: the sensor's values are unsigned.
constexpr std::string_view least_value = "0";

char message_replacement(char32_t code_point) {
  return is_control_character(code_point) || code_point == '|' ? replacement_character : '\0';
}

char label_replacement_of(char32_t code_point) {
  if (is_control_character(code_point)) return replacement_character;
  return code_point == '\'' || code_point == '=' ? label_replacement : '\0';
}

// The conventions' units; "PerCent", the one the sensor's channels carry, is their "%".
std::string_view performance_unit(std::string_view unit) { return unit == "PerCent" ? "%" : ""; }

void append_threshold(TextBuffer& out, unsigned limit) {
  out.append(';');
  if (limit != 0) out.appendf("%u", limit);
}

void write_status_text(TextBuffer& out, std::string_view text) { append_status_text(out, text); }

}  // namespace

const TargetRecords plugin_records = {"", "", "", "\n", write_status_text, write_performance_value};

void write_state_opening(TextBuffer& out, ResultState state) {
  out.append(status_line_service);
  out.append(' ');
  out.append(state_words[static_cast<std::size_t>(state)]);
  out.append(state_separator);
}

bool append_status_text(TextBuffer& out, std::string_view text, std::size_t keep_free) {
  return append_replacing(out, text, message_replacement, keep_free);
}

void write_performance_value(TextBuffer& out, const ChannelRecord& channel) {
  out.append(" '");
  append_replacing(out, channel.label, label_replacement_of);
  out.append("'=");
  out.append(channel.value);
  out.append(performance_unit(channel.unit));
  append_threshold(out, channel.limits.warning);
  append_threshold(out, channel.limits.error);
  out.append(';');
  out.append(least_value);
  out.append(';');
}

bool read_status_line(std::string_view line, ResultState& state, std::string_view& message) {
  line = line.substr(0, line.find('\n'));
  for (std::size_t word = 0; word < std::size(state_words); ++word) {
    BoundedText<state_opening_capacity> opening;
    write_state_opening(opening, static_cast<ResultState>(word));
    if (line.substr(0, opening.size()) != opening.view()) continue;
    state = static_cast<ResultState>(word);
    // The message holds no "|": the first one starts the performance values.
    message = line.substr(opening.size());
    message = message.substr(0, message.find(performance_data_separator));
    return true;
  }
  return false;
}

void write_status_error_line(TextBuffer& out, std::string_view message) {
  out.clear();
  write_state_opening(out, ResultState::Unknown);
  append_status_text(out, message, 1);
  out.append('\n');
}

void write_status_rfc_error(TextBuffer& out, const RfcErrorFields& fields) {
  out.clear();
  write_state_opening(out, ResultState::Unknown);
  out.append("RFC error in ");
  append_status_text(out, fields.operation);
  out.append(" (");
  append_status_text(out, fields.key);
  out.append("): ");
  append_status_text(out, fields.message);
  out.append('\n');
}
