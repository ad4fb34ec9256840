#include "calculation/page_roll_usage.h"

#include "common/numbered_errors.h"

PageRollUsage calculate_page_roll_usage(const RollPageSizes& sizes) {
  const std::int32_t paging = area_hundredths(sizes.value[PAGE_AREA_SHARED_MEMORY], sizes.value[PAGE_AREA_SIZE]);
  const std::int32_t roll = area_hundredths(sizes.value[ROLL_AREA_SHARED_MEMORY], sizes.value[ROLL_AREA_SIZE]);
  PageRollUsage usage;
  usage.percent[PagesUsed] = usage_percent(sizes.value[PAGE_CURRENTLY_USED], paging);
  usage.percent[PagesMaxUsed] = usage_percent(sizes.value[PAGE_MAX_USED], paging);
  usage.percent[PagesWpLocal] = usage_percent(sizes.value[PAGE_WP_LOCAL], paging);
  usage.percent[RollsUsed] = usage_percent(sizes.value[ROLL_CURRENTLY_USED], roll);
  usage.percent[RollsMaxUsed] = usage_percent(sizes.value[ROLL_MAX_USED], roll);
  return usage;
}

void write_query_failure(rfc_result_code code, std::string_view exception_text, TextBuffer& failure_text) {
  switch (code) {
    case RFC_RESULT_FAILURE:
      write_numbered_error(NumberedError::RfcFailure, "", failure_text);
      break;
    case RFC_RESULT_EXCEPTION:
      write_numbered_error(NumberedError::FunctionException, exception_text, failure_text);
      break;
    case RFC_RESULT_SYS_EXCEPTION:
      write_numbered_error(NumberedError::SystemException, "", failure_text);
      break;
    default:
      write_numbered_error(NumberedError::OtherFailure, "", failure_text);
      break;
  }
}

std::int32_t area_hundredths(std::int32_t shared_memory_size, std::int32_t area_size) {
  return shared_memory_size / 100 + area_size / 100;
}

std::uint32_t usage_percent(std::int32_t value, std::int32_t hundredths) {
  // An empty area (newer servers report no paging area) has no percentage;
  // 0 keeps the other area's values and the set of channels stable.
  if (hundredths == 0) return 0;
  // Widened so that the one quotient that overflows 32 bits (the smallest
  // value divided by -1) wraps like every other instead of being undefined.
  return static_cast<std::uint32_t>(static_cast<std::int64_t>(value) / hundredths);
}
