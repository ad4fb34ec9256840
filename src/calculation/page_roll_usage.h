// The measurement's arithmetic: how full the paging and roll areas of a
// system are, from the sizes it reported; or the numbered error of a query
// that reported none.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "common/bounded_text.h"
#include "common/roll_page_sizes.h"
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

/// The five percentages of the sizes a system reported.
PageRollUsage calculate_page_roll_usage(const RollPageSizes& sizes);

/// Writes the numbered error of a query that ended with `code` (not 0) into
/// `failure_text`: 1012 with the exception's text, 1013, 1014, or 1015 for
/// any other code.
void write_query_failure(rfc_result_code code, std::string_view exception_text, TextBuffer& failure_text);
