// The measurement: how full the paging and roll areas of a system are.
#pragma once

#include <cstdint>

#include "rfc_library.h"

struct RunState;

/// The hundredths of an area: each of its two sizes divided by 100 on its own.
std::int32_t area_hundredths(std::int32_t shared_memory_size, std::int32_t area_size);

/// A value as a whole percentage of an area, as the unsigned 32-bit number of
/// the truncated quotient's bits; 0 for an area of no hundredths.
std::uint32_t usage_percent(std::int32_t value, std::int32_t hundredths);

/// Queries the system and writes its percentages: the whole document, or in
/// item mode the item's channel, printed at once.  On failure it appends a
/// numbered error text to `result_text` instead.  Returns the query's result
/// code; sets `run_status` to OK when the query succeeded.
rfc_result_code calculate_page_roll_usage(RunState& state, rfc_handle handle);
