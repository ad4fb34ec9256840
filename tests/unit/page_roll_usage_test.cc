#include "calculation/page_roll_usage.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

namespace {

// The README's example: paging 8192 and 65536 (736 hundredths), roll 4096 and 16384 (203).
RollPageSizes example_sizes() {
  RollPageSizes sizes;
  sizes.value[PAGE_AREA_SHARED_MEMORY] = 8192;
  sizes.value[PAGE_AREA_SIZE] = 65536;
  sizes.value[PAGE_CURRENTLY_USED] = 3000;
  sizes.value[PAGE_MAX_USED] = 7000;
  sizes.value[PAGE_WP_LOCAL] = 0;
  sizes.value[ROLL_AREA_SHARED_MEMORY] = 4096;
  sizes.value[ROLL_AREA_SIZE] = 16384;
  sizes.value[ROLL_CURRENTLY_USED] = 1500;
  sizes.value[ROLL_MAX_USED] = 3100;
  sizes.value[PAGING_FILE_SIZE] = 1;
  sizes.value[ROLL_FILE_SIZE] = 1;
  return sizes;
}

std::vector<std::uint32_t> percentages(const RollPageSizes& sizes) {
  const PageRollUsage usage = calculate_page_roll_usage(sizes);
  return {std::begin(usage.percent), std::end(usage.percent)};
}

std::string failure_of(rfc_result_code code, const char* exception_text) {
  BoundedText<300> failure_text;
  write_query_failure(code, exception_text, failure_text);
  return std::string(failure_text.view());
}

}  // namespace

TEST(UsagePercent, DivisionsTruncateAndAreDoneSeparately) {
  EXPECT_EQ(area_hundredths(8192, 65536), 736);
  EXPECT_EQ(area_hundredths(150, 150), 2);
  EXPECT_EQ(usage_percent(7000, 736), 9u);
  EXPECT_EQ(usage_percent(-1, 1), 4294967295u);
  EXPECT_EQ(usage_percent(-150, 100), static_cast<std::uint32_t>(-1));
  EXPECT_EQ(usage_percent(500, 2), 250u);
}

TEST(UsagePercent, EmptyAreaGivesZeroInsteadOfDividing) {
  EXPECT_EQ(area_hundredths(99, 99), 0);
  EXPECT_EQ(usage_percent(3000, 0), 0u);
  EXPECT_EQ(usage_percent(INT32_MIN, -1), 2147483648u);
}

TEST(PageRollUsage, EachValueIsAPercentageOfItsOwnArea) {
  EXPECT_EQ(percentages(example_sizes()), (std::vector<std::uint32_t>{4, 9, 0, 7, 15}));
}

TEST(PageRollUsage, EmptyPagingAreaKeepsTheRollValues) {
  RollPageSizes sizes = example_sizes();
  sizes.value[PAGE_AREA_SHARED_MEMORY] = 0;
  sizes.value[PAGE_AREA_SIZE] = 0;
  EXPECT_EQ(percentages(sizes), (std::vector<std::uint32_t>{0, 0, 0, 7, 15}));
}

TEST(PageRollUsage, ValuesPassUnclampedAndNegativeOnesAsUnsigned) {
  RollPageSizes sizes = example_sizes();
  sizes.value[PAGE_MAX_USED] = 100000;
  sizes.value[ROLL_MAX_USED] = -203;
  sizes.value[PAGING_FILE_SIZE] = -77;
  EXPECT_EQ(percentages(sizes), (std::vector<std::uint32_t>{4, 135, 0, 7, 4294967295u}));
}

TEST(PageRollUsage, FailedQueriesLeaveTheirNumberedText) {
  EXPECT_EQ(failure_of(RFC_RESULT_FAILURE, "NO_DATA"), "Error 1014: RFC-Failure raised !");
  EXPECT_EQ(failure_of(RFC_RESULT_EXCEPTION, "NO_DATA"), "Error 1012: Exception.: NO_DATA");
  EXPECT_EQ(failure_of(RFC_RESULT_EXCEPTION, ""), "Error 1012: Exception.: ");
  EXPECT_EQ(failure_of(RFC_RESULT_SYS_EXCEPTION, "NO_DATA"), "Error 1013: Sys-Exception raised !");
  EXPECT_EQ(failure_of(4, "NO_DATA"), "Error 1015: Other Failure raised !");
  EXPECT_EQ(failure_of(-1, "NO_DATA"), "Error 1015: Other Failure raised !");
}
