#include "calculation/page_roll_usage.h"

#include <gtest/gtest.h>

#include <climits>

#include "fake_rfc_library.h"
#include "test_support.h"

namespace {

class PageRollUsageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    reset_fake_rfc_library();
    fake.values = {{"PAGE_AREA_SHARED_MEMORY", 8192}, {"PAGE_AREA_SIZE", 65536}, {"PAGE_CURRENTLY_USED", 3000},
                   {"PAGE_MAX_USED", 7000},           {"PAGE_WP_LOCAL", 0},      {"ROLL_AREA_SHARED_MEMORY", 4096},
                   {"ROLL_AREA_SIZE", 16384},         {"ROLL_CURRENTLY_USED", 1500}, {"ROLL_MAX_USED", 3100},
                   {"PAGING_FILE_SIZE", 1},           {"ROLL_FILE_SIZE", 1}};
    state().system_entry.destination.assign("PRD");
  }
  RunState& state() { return run.state(); }
  rfc_result_code calculate() { return calculate_page_roll_usage(state(), 42); }
  std::string text() { return std::string(state().result_text.view()); }

  TestRun run;
  FakeRfcLibrary& fake = fake_rfc_library();
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

TEST_F(PageRollUsageTest, WorkedExampleGivesTheMessageAndFiveChannels) {
  state().output_target = OutputTarget::Harnick;
  EXPECT_EQ(calculate(), RFC_RESULT_OK);
  EXPECT_EQ(state().run_status, RunStatus::OK);
  EXPECT_EQ(text(),
            "\n# (PRD) Page/Roll: Pages Used=4%, Max=9%, WpLocal=0%, Roll Used=7%, Max=15"
            "\n> Pages Used: 4 %\n> Pages MaxUsed: 9 %\n> Pages Wp Local: 0 %\n> Rolls Used: 7 %\n> Rolls MaxUsed: 15 %\n");
  EXPECT_EQ(run.printed(), "");
}

TEST_F(PageRollUsageTest, EmptyPagingAreaKeepsTheRollValues) {
  fake.values["PAGE_AREA_SHARED_MEMORY"] = 0;
  fake.values["PAGE_AREA_SIZE"] = 0;
  state().output_target = OutputTarget::Harnick;
  calculate();
  EXPECT_EQ(text(),
            "\n# (PRD) Page/Roll: Pages Used=0%, Max=0%, WpLocal=0%, Roll Used=7%, Max=15"
            "\n> Pages Used: 0 %\n> Pages MaxUsed: 0 %\n> Pages Wp Local: 0 %\n> Rolls Used: 7 %\n> Rolls MaxUsed: 15 %\n");
}

TEST_F(PageRollUsageTest, ValuesPassUnclampedAndNegativeOnesAsUnsigned) {
  fake.values["PAGE_MAX_USED"] = 100000;
  fake.values["ROLL_MAX_USED"] = -203;
  fake.values["PAGING_FILE_SIZE"] = -77;
  state().output_target = OutputTarget::Harnick;
  state().run_options.assign("CH=2");
  calculate();
  EXPECT_EQ(text(), "135\n");
  state().run_options.assign("CH=10");
  calculate();
  EXPECT_EQ(text(), "4294967295\n");
}

TEST_F(PageRollUsageTest, FailuresLeaveANumberedTextAndStatusAlone) {
  const std::pair<rfc_result_code, const char*> failures[] = {{1, "Error 1014: RFC-Failure raised !"},
                                                              {2, "Error 1012: Exception.: NO_DATA"},
                                                              {3, "Error 1013: Sys-Exception raised !"},
                                                              {4, "Error 1015: Other Failure raised !"},
                                                              {-1, "Error 1015: Other Failure raised !"}};
  fake.exception_text = "NO_DATA";
  for (const auto& [code, message] : failures) {
    fake.receive_result = code;
    state().result_text.clear();
    state().run_status = RunStatus::ERR;
    EXPECT_EQ(calculate(), code);
    EXPECT_EQ(text(), message);
    EXPECT_EQ(state().run_status, RunStatus::ERR);
  }
}

TEST_F(PageRollUsageTest, ExceptionWithoutTextEndsAfterTheColon) {
  fake.receive_result = RFC_RESULT_EXCEPTION;
  calculate();
  EXPECT_EQ(text(), "Error 1012: Exception.: ");
}

TEST_F(PageRollUsageTest, ItemModePrintsOneChannelNamedAfterTheSystem) {
  state().item_mode = true;
  state().item_name.assign("Rolls MaxUsed");
  state().sensor_channel_key.assign("PRD");
  state().result_text.assign("left over");
  EXPECT_EQ(calculate(), RFC_RESULT_OK);
  EXPECT_EQ(state().item_measured, 'X');
  EXPECT_EQ(text(), "");
  EXPECT_EQ(run.printed(),
            "\n<Result><Channel>PRD</Channel>\n<Unit>Custom</Unit>\n<CustomUnit>PerCent</CustomUnit>\n"
            "<Value>15</Value></Result>\n");
  EXPECT_EQ(state().channel_count, 1u);
}

TEST_F(PageRollUsageTest, ItemNamesAreComparedCaseSensitively) {
  state().item_mode = true;
  state().item_name.assign("pages used");
  state().sensor_channel_key.assign("PRD");
  EXPECT_EQ(calculate(), RFC_RESULT_OK);
  EXPECT_EQ(state().run_status, RunStatus::OK);
  EXPECT_EQ(state().item_measured, 'X');
  EXPECT_EQ(run.printed(), "");
  EXPECT_EQ(state().channel_count, 0u);
}

TEST_F(PageRollUsageTest, XmlMessageEscapesTheDestination) {
  state().system_entry.destination.assign("P&D");
  calculate();
  EXPECT_EQ(text().substr(0, 31), "\n<Prtg>\n\n<Text>(P&amp;D) Page/R");
}
