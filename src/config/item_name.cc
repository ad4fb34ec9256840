#include "config/item_name.h"

#include "common/ascii.h"
#include "common/channel_names.h"

namespace {

// The text of error 1033 after "Item ": the name as typed, the one meant, the valid ones.
using ItemRefusal = BoundedText<item_name_capacity + 160>;

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

// Names are shown with colons, the way the option and the entry are written.
void append_as_typed(ItemRefusal& refusal, std::string_view name) {
  ItemName typed(name);
  typed.replace_all(' ', ':');
  refusal.append(typed.view());
}

}  // namespace

void take_item_name(std::string_view after_keyword, ItemName& item_name) {
  // Longer names are cut: an item name only selects one of a few channel
  // names, which are all far shorter, so a cut name selects nothing at all.
  item_name.assign(after_keyword.substr(0, after_keyword.find_first_of(" ,")));
  item_name.replace_all(':', ' ');
}

ConfigStatus check_item_name(const ItemName& item_name) {
  for (std::string_view channel : channel_names)
    if (item_name.equals(channel)) return ConfigStatus();
  ItemRefusal refusal;
  append_as_typed(refusal, item_name.view());
  refusal.append(" names no value");
  for (std::string_view channel : channel_names) {
    if (!names_alike(item_name.view(), channel)) continue;
    refusal.append(" (meant ");
    append_as_typed(refusal, channel);
    refusal.append("?)");
  }
  refusal.append(":");
  for (std::size_t channel = 0; channel < channel_name_count; ++channel) {
    refusal.append(channel == 0 ? " " : ", ");
    append_as_typed(refusal, channel_names[channel]);
  }
  return ConfigStatus(NumberedError::ItemUnknown, refusal.view());
}
