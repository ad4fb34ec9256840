#include "output/channel_writer.h"

#include <cstdlib>

#include "driver/run_state.h"
#include "output/xml_text.h"

namespace {

// Key, value and unit are taken in working copies of 123 characters; a longer
// text is cut there, which no caller of the sensor comes near.
using ChannelCopy = BoundedText<123>;

constexpr unsigned quelbrin_channel_limit = 10;

void write_quelbrin_channel(RunState& state, const TextBuffer& message_key, std::string_view label,
                            const TextBuffer& value, const TextBuffer& unit) {
  TextBuffer& out = state.result_text;
  out.append("\n\nMessage.");
  out.append(message_key.view());
  out.append(": ");
  out.append(label);
  out.append(" (");
  out.append(plain_unit_text(unit.view()));
  out.append(")\nStatistic.");
  out.append(message_key.view());
  out.append(": ");
  out.append(value.view());
}

void write_harnick_channel(RunState& state, std::string_view label, const TextBuffer& value,
                           const TextBuffer& unit) {
  if (state.run_options.contains("CH=")) {
    if (selected_channel_number(state.run_options) == static_cast<long>(state.channel_count))
      state.result_text.append(value.view());
    return;
  }
  state.result_text.append("\n> ");
  state.result_text.append(label);
  state.result_text.append(": ");
  state.result_text.append(value.view());
  state.result_text.append(" ");
  state.result_text.append(plain_unit_text(unit.view()));
}

void write_xml_channel(RunState& state, std::string_view label, const TextBuffer& value, const TextBuffer& unit) {
  TextBuffer& out = state.result_text;
  out.append("\n<Result><Channel>");
  append_xml_escaped(out, label);
  out.append("</Channel>");
  if (!unit.empty()) {
    out.append("\n<Unit>Custom</Unit>\n<CustomUnit>");
    append_xml_escaped(out, unit.view());
    out.append("</CustomUnit>");
  }
  out.append("\n<Value>");
  append_xml_escaped(out, value.view());
  out.append("</Value></Result>\n");
}

}  // namespace

void form_message_key(std::string_view key, std::string_view label, TextBuffer& message_key) {
  message_key.assign(key.empty() ? label : key);
  for (char special : {' ', '/', '\\', '[', ']'}) message_key.replace_all(special, '_');
  message_key.set_char(message_key.find('.'), '_');
}

std::string_view plain_unit_text(std::string_view unit) {
  if (unit.empty()) return "#";
  if (unit == "PerCent") return "%";
  if (unit == "TimeResponse") return "mSec";
  return unit;
}

long selected_channel_number(const TextBuffer& run_options) {
  const std::size_t keyword = run_options.find("CH=");
  if (keyword == TextBuffer::npos) return 0;
  BoundedText<3> digits;
  for (std::size_t i = keyword + 3; i < run_options.size() && digits.room() > 0; ++i) {
    if (run_options[i] == ',') break;
    digits.append(run_options[i]);
  }
  return std::strtol(digits.c_str(), nullptr, 10);
}

void write_channel(RunState& state, std::string_view key, std::string_view label, std::string_view value,
                   std::string_view unit) {
  ++state.channel_count;
  if (state.output_target == OutputTarget::Quelbrin && state.channel_count > quelbrin_channel_limit) return;

  const ChannelCopy key_copy(key), value_copy(value), unit_copy(unit);
  ChannelCopy message_key;
  form_message_key(key_copy.view(), label, message_key);

  switch (state.output_target) {
    case OutputTarget::Quelbrin: write_quelbrin_channel(state, message_key, label, value_copy, unit_copy); break;
    case OutputTarget::Harnick: write_harnick_channel(state, label, value_copy, unit_copy); break;
    case OutputTarget::EXEXML:
    case OutputTarget::Miravex:
    case OutputTarget::Tolvane: write_xml_channel(state, label, value_copy, unit_copy); break;
  }
}
