#include "output/channel_writer.h"

#include <cstdlib>

#include "output/xml_text.h"

namespace {

// Key, value and unit are taken in working copies of 123 characters; a longer
// text is cut there, which no caller of the sensor comes near.
using ChannelCopy = BoundedText<123>;

constexpr unsigned quelbrin_channel_limit = 10;

constexpr std::string_view channel_keyword = "CH=";
constexpr std::size_t channel_number_digits = 3;

void write_quelbrin_channel(TextBuffer& out, const TextBuffer& message_key, std::string_view label,
                            const TextBuffer& value, const TextBuffer& unit) {
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

void write_harnick_channel(ResultDocument& document, std::string_view label, const TextBuffer& value,
                           const TextBuffer& unit) {
  TextBuffer& out = document.result_text;
  if (document.selects_channel) {
    if (document.selected_channel == static_cast<long>(document.channel_count)) out.append(value.view());
    return;
  }
  out.append("\n> ");
  out.append(label);
  out.append(": ");
  out.append(value.view());
  out.append(" ");
  out.append(plain_unit_text(unit.view()));
}

void write_xml_channel(TextBuffer& out, std::string_view label, const TextBuffer& value, const TextBuffer& unit) {
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
  const std::size_t keyword = run_options.find(channel_keyword);
  if (keyword == TextBuffer::npos) return 0;
  BoundedText<channel_number_digits> digits;
  for (std::size_t i = keyword + channel_keyword.size(); i < run_options.size() && digits.room() > 0; ++i) {
    if (run_options[i] == ',') break;
    digits.append(run_options[i]);
  }
  return std::strtol(digits.c_str(), nullptr, 10);
}

void select_channel(ResultDocument& document, const TextBuffer& run_options) {
  document.selects_channel = run_options.contains(channel_keyword);
  document.selected_channel = selected_channel_number(run_options);
}

void write_channel(ResultDocument& document, std::string_view key, std::string_view label, std::string_view value,
                   std::string_view unit) {
  ++document.channel_count;
  if (document.output_target == OutputTarget::Quelbrin && document.channel_count > quelbrin_channel_limit) return;

  const ChannelCopy key_copy(key), value_copy(value), unit_copy(unit);
  ChannelCopy message_key;
  form_message_key(key_copy.view(), label, message_key);

  TextBuffer& out = document.result_text;
  switch (document.output_target) {
    case OutputTarget::Quelbrin: write_quelbrin_channel(out, message_key, label, value_copy, unit_copy); break;
    case OutputTarget::Harnick: write_harnick_channel(document, label, value_copy, unit_copy); break;
    case OutputTarget::EXEXML:
    case OutputTarget::Miravex:
    case OutputTarget::Tolvane: write_xml_channel(out, label, value_copy, unit_copy); break;
  }
}
