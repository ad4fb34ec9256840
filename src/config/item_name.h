// The item an item-mode run measures, as an option or a listing entry names it.
#pragma once

#include <cstddef>
#include <string_view>

#include "common/bounded_text.h"
#include "common/run_options.h"
#include "config/config_status.h"

/// Most characters of an item name.  The name follows its five-character
/// keyword in the option text or a listing's entry, neither longer than the
/// option text, so it is always whole: a refusal quotes it as it was given.
inline constexpr std::size_t item_name_capacity = option_text_capacity - (sizeof "ITEM=" - 1);

/// The name of an item.
using ItemName = BoundedText<item_name_capacity>;

/// Sets `item_name` from the text that follows the item keyword: up to the
/// first blank or comma, each colon turned into a blank.
void take_item_name(std::string_view after_keyword, ItemName& item_name);

/// Refuses, with error 1033, an item name that is none of the channel names:
/// such an item would measure nothing while every system counts as processed.
ConfigStatus check_item_name(const ItemName& item_name);
