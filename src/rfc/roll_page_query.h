// The one remote function call the measurement rests on.
#pragma once

#include <cstdint>

#include "common/bounded_text.h"
#include "rfc_library.h"

struct RunState;

/// The exporting values of SAPTUNE_ROLL_PAGE_SIZES, in the order of its interface.
struct RollPageSizes {
  std::int32_t PAGE_AREA_SHARED_MEMORY = 0;
  std::int32_t PAGE_AREA_SIZE = 0;
  std::int32_t PAGE_CURRENTLY_USED = 0;
  std::int32_t PAGE_MAX_USED = 0;
  std::int32_t PAGE_WP_LOCAL = 0;
  std::int32_t PAGING_FILE_SIZE = 0;
  std::int32_t ROLL_AREA_SHARED_MEMORY = 0;
  std::int32_t ROLL_AREA_SIZE = 0;
  std::int32_t ROLL_CURRENTLY_USED = 0;
  std::int32_t ROLL_FILE_SIZE = 0;
  std::int32_t ROLL_MAX_USED = 0;
};

/// The exception text of a failed call: at most 255 characters.
using ExceptionText = BoundedText<255>;

/// Calls SAPTUNE_ROLL_PAGE_SIZES over the open connection and returns the
/// library's result code.  Code 0 fills `sizes`; codes 2 and 3 fill
/// `exception_text`; any other code leaves both as they were.
rfc_result_code query_roll_page_sizes(RunState& state, rfc_handle handle, RollPageSizes& sizes,
                                      ExceptionText& exception_text);
