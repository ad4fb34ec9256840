#include "output/usage_document.h"

#include <iterator>

#include "common/channel_names.h"
#include "output/channel_writer.h"

namespace {

// Indexed by UsageChannel: each value's channel, and its name in the message.
static_assert(channel_name_count == usage_channel_count, "one channel name for each value");
constexpr const std::string_view* channel_labels = channel_names;
constexpr const char* message_labels[] = {"Pages Used", "Max", "WpLocal", "Roll Used", "Max"};
static_assert(std::size(message_labels) == usage_channel_count, "one message label for each value");

// The value counts in the document's state whether or not the target writes
// its channel.
void write_percent_channel(ResultDocument& document, std::string_view key, std::string_view label,
                           std::uint32_t percent) {
  document.state = worse_state(document.state, state_of_value(percent, document.limits));
  BoundedText<10> value;  // the largest 32-bit number has ten digits
  value.assignf("%u", static_cast<unsigned>(percent));
  write_channel(document, key, label, value.view(), "PerCent");
}

}  // namespace

void write_usage_document(ResultDocument& document, std::string_view destination, const PageRollUsage& usage) {
  // "(PRD) Page/Roll: Pages Used=4%, Max=9%, WpLocal=0%, Roll Used=7%, Max=15":
  // every value but the last carries its percent sign.
  MessageText message("(");
  message.append(destination);
  message.append(") Page/Roll: ");
  for (std::size_t channel = 0; channel < usage_channel_count; ++channel)
    message.appendf("%s%s=%u", channel > 0 ? "%, " : "", message_labels[channel],
                    static_cast<unsigned>(usage.percent[channel]));
  open_result_document(document);
  begin_result_text(document);
  add_result_text(document, message.view());
  end_result_text(document);
  for (std::size_t channel = 0; channel < usage_channel_count; ++channel)
    write_percent_channel(document, "", channel_labels[channel], usage.percent[channel]);
  close_result_document(document);
}

void write_item_channel(ResultDocument& document, std::string_view item_name, std::string_view channel_key,
                        const PageRollUsage& usage) {
  document.result_text.clear();
  for (std::size_t channel = 0; channel < usage_channel_count; ++channel)
    if (channel_labels[channel] == item_name)
      write_percent_channel(document, channel_key, channel_key, usage.percent[channel]);
}
