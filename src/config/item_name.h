// The item an item-mode run measures, as an option or a listing entry names it.
#pragma once

#include <string_view>

#include "common/bounded_text.h"

/// Sets `item_name` from the text that follows the item keyword: up to the
/// first blank or comma, at most 90 characters, each colon turned into a blank.
void take_item_name(std::string_view after_keyword, TextBuffer& item_name);
