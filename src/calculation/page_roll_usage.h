// The measurement: how full the paging and roll areas of a system are.
#pragma once

#include <cstdint>

#include "common/bounded_text.h"
#include "output/console_routines.h"
#include "output/usage_document.h"
#include "rfc_library.h"

/// The hundredths of an area: each of its two sizes divided by 100 on its own.
std::int32_t area_hundredths(std::int32_t shared_memory_size, std::int32_t area_size);

/// A value as a whole percentage of an area, as the unsigned 32-bit number of
/// the truncated quotient's bits; 0 for an area of no hundredths.
std::uint32_t usage_percent(std::int32_t value, std::int32_t hundredths);

/// Queries the system over the open connection and works out its
/// percentages into `usage`.  On failure it writes the numbered error text
/// into `failure_text` instead.  Returns the query's result code.
rfc_result_code calculate_page_roll_usage(const OutputStreams& streams, rfc_handle handle, PageRollUsage& usage,
                                          TextBuffer& failure_text);
