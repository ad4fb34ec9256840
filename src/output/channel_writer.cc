#include "output/channel_writer.h"

#include <cstdlib>

namespace {

// Key, value and unit are taken in working copies of 123 characters; a longer
// text is cut there, which no caller of the sensor comes near.
using ChannelCopy = BoundedText<123>;

constexpr std::string_view channel_keyword = "CH=";
constexpr std::size_t channel_number_digits = 3;

// Half a channel would break the document or show a cut value as a whole one:
// a record that does not fit whole, with the document end after it, is left
// out.  A status line's performance values have a capacity of their own,
// which leaves room for the rest of the line.
void append_whole_record(ResultDocument& document, const TextBuffer& record) {
  if (target_of(document).form == ResultForm::StatusLine) {
    static_cast<void>(document.performance_data.append_whole(record.view()));
    return;
  }
  TextBuffer& out = document.result_text;
  if (record.size() + result_document_end(document.output_target).size() <= out.room()) out.append(record.view());
}

}  // namespace

void form_message_key(std::string_view key, std::string_view label, TextBuffer& message_key) {
  message_key.assign(key.empty() ? label : key);
  for (char special : {' ', '/', '\\', '[', ']'}) message_key.replace_all(special, '_');
  message_key.set_char(message_key.find('.'), '_');
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
  const OutputTargetDescriptor& target = target_of(document);
  if (target.channel_cap != 0 && document.channel_count > target.channel_cap) return;

  const ChannelCopy key_copy(key), value_copy(value), unit_copy(unit);
  ResultText record;
  if (selects_one_channel(document)) {
    if (document.selected_channel == static_cast<long>(document.channel_count)) record.append(value_copy.view());
  } else {
    ChannelCopy message_key;
    form_message_key(key_copy.view(), label, message_key);
    target.records->write_channel(
        record, ChannelRecord{message_key.view(), label, value_copy.view(), unit_copy.view(), document.limits});
  }
  append_whole_record(document, record);
}
