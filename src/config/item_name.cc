#include "config/item_name.h"

namespace {
constexpr std::size_t longest_item_name = 90;
}

void take_item_name(std::string_view after_keyword, TextBuffer& item_name) {
  const std::size_t end = after_keyword.find_first_of(" ,");
  // Longer names are cut: an item name only selects one of a few channel
  // names, which are all far shorter, so a cut name selects nothing at all.
  item_name.assign(after_keyword.substr(0, end).substr(0, longest_item_name));
  item_name.replace_all(':', ' ');
}
