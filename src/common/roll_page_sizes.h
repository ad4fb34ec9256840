// The sizes a system reports of its paging and roll areas: what the RFC query
// fetches and the calculation turns into percentages.
#pragma once

#include <cstdint>

#include "common/rfc_names.h"

/// The exporting values of SAPTUNE_ROLL_PAGE_SIZES, indexed by RollPageValue.
struct RollPageSizes {
  std::int32_t value[roll_page_value_count] = {};
};
