#include "output/channel_writer.h"

#include <cstdlib>

#include "common/text_characters.h"
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
  // Keys and labels come from profiles and file names; none may break a line.
  out.append("\n\nMessage.");
  append_single_line(out, message_key.view());
  out.append(": ");
  append_single_line(out, label);
  out.append(" (");
  out.append(plain_unit_text(unit.view()));
  out.append(")\nStatistic.");
  append_single_line(out, message_key.view());
  out.append(": ");
  out.append(value.view());
}

void write_harnick_channel(const ResultDocument& document, TextBuffer& out, std::string_view label,
                           const TextBuffer& value, const TextBuffer& unit) {
  if (document.selects_channel) {
    if (document.selected_channel == static_cast<long>(document.channel_count)) out.append(value.view());
    return;
  }
  out.append("\n> ");
  append_single_line(out, label);
  out.append(": ");
  out.append(value.view());
  out.append(" ");
  out.append(plain_unit_text(unit.view()));
}

// The elements of one limit and of its message.
struct LimitElements {
  const char* limit;
  const char* message;
};

constexpr LimitElements warning_elements = {"LimitMaxWarning", "LimitWarningMsg"};
constexpr LimitElements error_elements = {"LimitMaxError", "LimitErrorMsg"};

// The limit and its message, "Pages Used is above 80 %", each on a line of its own.
void write_xml_limit(TextBuffer& out, const LimitElements& elements, std::string_view label, unsigned limit,
                     const TextBuffer& unit) {
  out.appendf("\n<%s>%u</%s>\n<%s>", elements.limit, limit, elements.limit, elements.message);
  append_xml_escaped(out, label);
  out.appendf(" is above %u", limit);
  if (!unit.empty()) {
    out.append(" ");
    append_xml_escaped(out, plain_unit_text(unit.view()));
  }
  out.appendf("</%s>", elements.message);
}

// PRTG takes these over when it creates the channel; mode 1 switches alerting on them.
void write_xml_limits(TextBuffer& out, std::string_view label, const ChannelLimits& limits, const TextBuffer& unit) {
  if (limits.warning != 0) write_xml_limit(out, warning_elements, label, limits.warning, unit);
  write_xml_limit(out, error_elements, label, limits.error, unit);
  out.append("\n<LimitMode>1</LimitMode>");
}

void write_xml_channel(const ResultDocument& document, TextBuffer& out, std::string_view label, const TextBuffer& value,
                       const TextBuffer& unit) {
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
  out.append("</Value>");
  if (proposes_limits(document.limits)) write_xml_limits(out, label, document.limits, unit);
  out.append("</Result>\n");
}

// Half a channel would break the document or show a cut value as a whole one:
// a record that does not fit whole, with the document end after it, is left out.
void append_whole_record(ResultDocument& document, const TextBuffer& record) {
  TextBuffer& out = document.result_text;
  if (record.size() + result_document_end(document.output_target).size() <= out.room()) out.append(record.view());
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

  ResultText record;
  switch (document.output_target) {
    case OutputTarget::Quelbrin:
      write_quelbrin_channel(record, message_key, label, value_copy, unit_copy);
      break;
    case OutputTarget::Harnick:
      write_harnick_channel(document, record, label, value_copy, unit_copy);
      break;
    case OutputTarget::EXEXML:
    case OutputTarget::Miravex:
    case OutputTarget::Tolvane:
      write_xml_channel(document, record, label, value_copy, unit_copy);
      break;
  }
  append_whole_record(document, record);
}
