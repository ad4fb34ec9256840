#include "calculation/page_roll_usage.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "fake_rfc_library.h"

namespace {

class PageRollUsageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    reset_fake_rfc_library();
    fake.values = {{"PAGE_AREA_SHARED_MEMORY", 8192}, {"PAGE_AREA_SIZE", 65536},     {"PAGE_CURRENTLY_USED", 3000},
                   {"PAGE_MAX_USED", 7000},           {"PAGE_WP_LOCAL", 0},          {"ROLL_AREA_SHARED_MEMORY", 4096},
                   {"ROLL_AREA_SIZE", 16384},         {"ROLL_CURRENTLY_USED", 1500}, {"ROLL_MAX_USED", 3100},
                   {"PAGING_FILE_SIZE", 1},           {"ROLL_FILE_SIZE", 1}};
  }
  rfc_result_code calculate() { return calculate_page_roll_usage(42, usage, failure_text); }
  std::vector<std::uint32_t> percentages() { return {std::begin(usage.percent), std::end(usage.percent)}; }

  FakeRfcLibrary& fake = fake_rfc_library();
  PageRollUsage usage;
  BoundedText<300> failure_text;
};

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

TEST_F(PageRollUsageTest, EachValueIsAPercentageOfItsOwnArea) {
  EXPECT_EQ(calculate(), RFC_RESULT_OK);
  EXPECT_EQ(percentages(), (std::vector<std::uint32_t>{4, 9, 0, 7, 15}));
  EXPECT_EQ(failure_text.view(), "");
}

TEST_F(PageRollUsageTest, EmptyPagingAreaKeepsTheRollValues) {
  fake.values["PAGE_AREA_SHARED_MEMORY"] = 0;
  fake.values["PAGE_AREA_SIZE"] = 0;
  calculate();
  EXPECT_EQ(percentages(), (std::vector<std::uint32_t>{0, 0, 0, 7, 15}));
}

TEST_F(PageRollUsageTest, ValuesPassUnclampedAndNegativeOnesAsUnsigned) {
  fake.values["PAGE_MAX_USED"] = 100000;
  fake.values["ROLL_MAX_USED"] = -203;
  fake.values["PAGING_FILE_SIZE"] = -77;
  calculate();
  EXPECT_EQ(percentages(), (std::vector<std::uint32_t>{4, 135, 0, 7, 4294967295u}));
}

TEST_F(PageRollUsageTest, FailuresLeaveANumberedText) {
  const std::pair<rfc_result_code, const char*> failures[] = {{1, "Error 1014: RFC-Failure raised !"},
                                                              {2, "Error 1012: Exception.: NO_DATA"},
                                                              {3, "Error 1013: Sys-Exception raised !"},
                                                              {4, "Error 1015: Other Failure raised !"},
                                                              {-1, "Error 1015: Other Failure raised !"}};
  fake.exception_text = "NO_DATA";
  for (const auto& [code, message] : failures) {
    fake.receive_result = code;
    EXPECT_EQ(calculate(), code);
    EXPECT_EQ(failure_text.view(), message);
  }
}

TEST_F(PageRollUsageTest, ExceptionWithoutTextEndsAfterTheColon) {
  fake.receive_result = RFC_RESULT_EXCEPTION;
  calculate();
  EXPECT_EQ(failure_text.view(), "Error 1012: Exception.: ");
}
