// The names of the five values a measurement yields: the channels of a
// document, and the items an item-mode run may measure.
#pragma once

#include <cstddef>
#include <string_view>

/// How many values a measurement yields.
inline constexpr std::size_t channel_name_count = 5;

/// Each value's channel name, in the order the document writes them.
inline constexpr std::string_view channel_names[channel_name_count] = {"Pages Used", "Pages MaxUsed", "Pages Wp Local",
                                                                       "Rolls Used", "Rolls MaxUsed"};
