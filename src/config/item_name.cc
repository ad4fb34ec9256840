#include "config/item_name.h"

#include "common/ascii.h"
#include "common/channel_names.h"

namespace {

constexpr std::string_view names_no_value = " names no value";
constexpr std::string_view meant_start = " (meant ";
constexpr std::string_view meant_end = "?)";

constexpr std::size_t longest_channel_name() {
  std::size_t longest = 0;
  for (std::string_view channel : channel_names) longest = channel.size() > longest ? channel.size() : longest;
  return longest;
}

// ": " before the first of the valid names, ", " before each further one.
constexpr std::size_t valid_names_length() {
  std::size_t length = 1;
  for (std::string_view channel : channel_names) length += 2 + channel.size();
  return length - 1;
}

// The text of error 1033 after "Item ": the name as typed, the one meant, the
// valid ones.  Room for the longest name whole, so that the message never
// shows a cut name as if it were the one given.
using ItemRefusal = BoundedText<item_name_capacity + names_no_value.size() + meant_start.size() +
                                longest_channel_name() + meant_end.size() + valid_names_length()>;
static_assert(sizeof "Error 1033: Item  !" - 1 + ItemRefusal::max_length <= config_message_capacity,
              "the message of error 1033 holds the longest item name whole");

// Equal but for letter case and the blanks (typed as colons) between the words.
bool names_alike(std::string_view name, std::string_view channel) {
  std::size_t i = 0;
  std::size_t j = 0;
  while (true) {
    while (i < name.size() && name[i] == ' ') ++i;
    while (j < channel.size() && channel[j] == ' ') ++j;
    if (i == name.size() || j == channel.size()) return i == name.size() && j == channel.size();
    if (ascii_upper(name[i++]) != ascii_upper(channel[j++])) return false;
  }
}

// Names are shown with colons, the way the option and the entry are written;
// a name holds no blank of its own (a blank ends it), so this is the name as given.
void append_as_typed(ItemRefusal& refusal, std::string_view name) {
  ItemName typed(name);
  typed.replace_all(' ', ':');
  refusal.append(typed.view());
}

}  // namespace

void take_item_name(std::string_view after_keyword, ItemName& item_name) {
  // Never cut: the text it comes from is no longer than the name may be.
  item_name.assign(after_keyword.substr(0, after_keyword.find_first_of(" ,")));
  item_name.replace_all(':', ' ');
}

ConfigStatus check_item_name(const ItemName& item_name) {
  for (std::string_view channel : channel_names)
    if (item_name.equals(channel)) return ConfigStatus();
  ItemRefusal refusal;
  append_as_typed(refusal, item_name.view());
  refusal.append(names_no_value);
  for (std::string_view channel : channel_names) {
    if (!names_alike(item_name.view(), channel)) continue;
    refusal.append(meant_start);
    append_as_typed(refusal, channel);
    refusal.append(meant_end);
  }
  refusal.append(":");
  for (std::size_t channel = 0; channel < channel_name_count; ++channel) {
    refusal.append(channel == 0 ? " " : ", ");
    append_as_typed(refusal, channel_names[channel]);
  }
  return ConfigStatus(NumberedError::ItemUnknown, refusal.view());
}
