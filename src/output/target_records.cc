#include "output/target_records.h"

#include "common/text_characters.h"
#include "output/document_marks.h"
#include "output/xml_text.h"

namespace {

// ---- The monitor's XML result format ----

void write_xml_text(TextBuffer& out, std::string_view text) { append_xml_escaped(out, text); }

// The elements of one limit and of its message.
struct LimitElements {
  const char* limit;
  const char* message;
};

constexpr LimitElements warning_elements = {"LimitMaxWarning", "LimitWarningMsg"};
constexpr LimitElements error_elements = {"LimitMaxError", "LimitErrorMsg"};

// The limit and its message, "Pages Used is above 80 %", each on a line of its own.
void write_xml_limit(TextBuffer& out, const LimitElements& elements, const ChannelRecord& channel, unsigned limit) {
  out.appendf("\n<%s>%u</%s>\n<%s>", elements.limit, limit, elements.limit, elements.message);
  append_xml_escaped(out, channel.label);
  out.appendf(" is above %u", limit);
  if (!channel.unit.empty()) {
    out.append(" ");
    append_xml_escaped(out, plain_unit_text(channel.unit));
  }
  out.appendf("</%s>", elements.message);
}

// PRTG takes these over when it creates the channel; mode 1 switches alerting on them.
void write_xml_limits(TextBuffer& out, const ChannelRecord& channel) {
  if (channel.limits.warning != 0) write_xml_limit(out, warning_elements, channel, channel.limits.warning);
  write_xml_limit(out, error_elements, channel, channel.limits.error);
  out.append("\n<LimitMode>1</LimitMode>");
}

void write_xml_channel(TextBuffer& out, const ChannelRecord& channel) {
  out.append("\n<Result>");
  out.append(xml_channel_start);
  append_xml_escaped(out, channel.label);
  out.append(xml_channel_end);
  if (!channel.unit.empty()) {
    out.append("\n<Unit>Custom</Unit>\n<CustomUnit>");
    append_xml_escaped(out, channel.unit);
    out.append("</CustomUnit>");
  }
  out.append("\n<Value>");
  append_xml_escaped(out, channel.value);
  out.append("</Value>");
  if (proposes_limits(channel.limits)) write_xml_limits(out, channel);
  out.append("</Result>\n");
}

// ---- Plain text ----

// Keys, labels and messages come from profiles and file names; none may break a line.
void write_plain_text(TextBuffer& out, std::string_view text) { append_single_line(out, text); }

void write_quelbrin_channel(TextBuffer& out, const ChannelRecord& channel) {
  out.append("\n\nMessage.");
  append_single_line(out, channel.message_key);
  out.append(": ");
  append_single_line(out, channel.label);
  out.append(" (");
  out.append(plain_unit_text(channel.unit));
  out.append(")\nStatistic.");
  append_single_line(out, channel.message_key);
  out.append(": ");
  out.append(channel.value);
}

void write_harnick_channel(TextBuffer& out, const ChannelRecord& channel) {
  out.append("\n> ");
  append_single_line(out, channel.label);
  out.append(": ");
  out.append(channel.value);
  out.append(" ");
  out.append(plain_unit_text(channel.unit));
}

}  // namespace

namespace {

constexpr std::string_view xml_text_opening = "\n<Text>";
constexpr std::string_view xml_text_closing = "</Text>\n";
static_assert(xml_text_opening.substr(1) == xml_text_start &&
                  xml_text_closing.substr(0, xml_text_end.size()) == xml_text_end,
              "the message stands between the marks the doctor reads it by");

}  // namespace

const TargetRecords xml_records = {"\n<Prtg>\n",  xml_text_opening, xml_text_closing,
                                   "\n</Prtg>\n", write_xml_text,   write_xml_channel};

const TargetRecords quelbrin_records = {"", plain_text_start, "", "\n", write_plain_text, write_quelbrin_channel};

const TargetRecords harnick_records = {"", plain_text_start, "", "\n", write_plain_text, write_harnick_channel};

std::string_view plain_unit_text(std::string_view unit) {
  if (unit.empty()) return "#";
  if (unit == "PerCent") return "%";
  if (unit == "TimeResponse") return "mSec";
  return unit;
}
