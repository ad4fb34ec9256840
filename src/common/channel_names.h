// The names of the five values a measurement yields: the channels of a
// document, and the items an item-mode run may measure.
#pragma once

#include <cstddef>
#include <iterator>
#include <string_view>

/// Each value's channel name, in the order the document writes them.
inline constexpr std::string_view channel_names[] = {"Pages Used", "Pages MaxUsed", "Pages Wp Local", "Rolls Used",
                                                     "Rolls MaxUsed"};

/// How many values a measurement yields, which the calculation's count of
/// channels is checked against.
inline constexpr std::size_t channel_name_count = std::size(channel_names);
