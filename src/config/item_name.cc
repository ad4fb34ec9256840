#include "config/item_name.h"

void take_item_name(std::string_view after_keyword, ItemName& item_name) {
  // Longer names are cut: an item name only selects one of a few channel
  // names, which are all far shorter, so a cut name selects nothing at all.
  item_name.assign(after_keyword.substr(0, after_keyword.find_first_of(" ,")));
  item_name.replace_all(':', ' ');
}
