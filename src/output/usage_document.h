// The documents of a measurement: the whole document of one system, or in
// item mode the one channel of a listed system.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "output/result_document.h"

/// The five values of a measurement, in the order of the document's channels.
enum UsageChannel : std::size_t { PagesUsed, PagesMaxUsed, PagesWpLocal, RollsUsed, RollsMaxUsed, usage_channel_count };

/// A measured system's values, each a whole-number percentage.
struct PageRollUsage {
  std::uint32_t percent[usage_channel_count] = {};
};

/// Writes the complete document of the system `destination`: the message
/// "(DESTINATION) Page/Roll: ..." and one channel per value.
void write_usage_document(ResultDocument& document, std::string_view destination, const PageRollUsage& usage);

/// Replaces `result_text` with the channel of the value `item_name` names
/// (case-sensitively), named `channel_key`; empty when it names none.
void write_item_channel(ResultDocument& document, std::string_view item_name, std::string_view channel_key,
                        const PageRollUsage& usage);
