// The measurement: how full the paging and roll areas of a system are.
#pragma once

#include <cstddef>
#include <cstdint>

#include "common/bounded_text.h"
#include "rfc_library.h"

/// The five values of a measurement, in the order of the document's channels.
enum UsageChannel : std::size_t { PagesUsed, PagesMaxUsed, PagesWpLocal, RollsUsed, RollsMaxUsed, usage_channel_count };

/// A measured system's values, each a whole-number percentage.
struct PageRollUsage {
  std::uint32_t percent[usage_channel_count] = {};
};

/// The hundredths of an area: each of its two sizes divided by 100 on its own.
std::int32_t area_hundredths(std::int32_t shared_memory_size, std::int32_t area_size);

/// A value as a whole percentage of an area, as the unsigned 32-bit number of
/// the truncated quotient's bits; 0 for an area of no hundredths.
std::uint32_t usage_percent(std::int32_t value, std::int32_t hundredths);

/// Queries the system over the open connection and works out its
/// percentages into `usage`.  On failure it writes the numbered error text
/// into `failure_text` instead.  Returns the query's result code.
rfc_result_code calculate_page_roll_usage(rfc_handle handle, PageRollUsage& usage, TextBuffer& failure_text);
