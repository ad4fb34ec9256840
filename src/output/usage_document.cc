#include "output/usage_document.h"

#include "output/channel_writer.h"

namespace {

constexpr const char* percent_unit = "PerCent";

struct ChannelNames {
  /// The channel's name.
  std::string_view label;
  /// How the document's message names the value.
  const char* in_message;
};

// Indexed by UsageChannel.
constexpr ChannelNames channel_names[usage_channel_count] = {
    {"Pages Used", "Pages Used"}, {"Pages MaxUsed", "Max"}, {"Pages Wp Local", "WpLocal"},
    {"Rolls Used", "Roll Used"},  {"Rolls MaxUsed", "Max"},
};

// The largest 32-bit number has ten digits.
using PercentText = BoundedText<10>;

PercentText percent_text(std::uint32_t percent) {
  PercentText text;
  text.assignf("%u", static_cast<unsigned>(percent));
  return text;
}

// "(PRD) Page/Roll: Pages Used=4%, Max=9%, WpLocal=0%, Roll Used=7%, Max=15":
// every value but the last carries its percent sign.
void form_usage_message(std::string_view destination, const PageRollUsage& usage, MessageText& message) {
  message.assign("(");
  message.append(destination);
  message.append(") Page/Roll: ");
  for (std::size_t channel = 0; channel < usage_channel_count; ++channel) {
    if (channel > 0) message.append("%, ");
    message.appendf("%s=%u", channel_names[channel].in_message, static_cast<unsigned>(usage.percent[channel]));
  }
}

}  // namespace

void write_usage_document(ResultDocument& document, std::string_view destination, const PageRollUsage& usage) {
  MessageText message;
  form_usage_message(destination, usage, message);
  open_result_document(document);
  begin_result_text(document);
  add_result_text(document, message.view());
  end_result_text(document);
  for (std::size_t channel = 0; channel < usage_channel_count; ++channel)
    write_channel(document, "", channel_names[channel].label, percent_text(usage.percent[channel]).view(),
                  percent_unit);
  close_result_document(document);
}

void write_item_channel(ResultDocument& document, std::string_view item_name, std::string_view channel_key,
                        const PageRollUsage& usage) {
  document.result_text.clear();
  for (std::size_t channel = 0; channel < usage_channel_count; ++channel)
    if (channel_names[channel].label == item_name)
      write_channel(document, channel_key, channel_key, percent_text(usage.percent[channel]).view(), percent_unit);
}
