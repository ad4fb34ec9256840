#include "rfc/roll_page_query.h"

#include <gtest/gtest.h>

#include "fake_rfc_library.h"

namespace {

class RollPageQueryTest : public ::testing::Test {
 protected:
  void SetUp() override { reset_fake_rfc_library(); }
  rfc_result_code query() { return query_roll_page_sizes(42, sizes, exception_text); }

  FakeRfcLibrary& fake = fake_rfc_library();
  RollPageSizes sizes;
  ExceptionText exception_text{"untouched"};
};

}  // namespace

TEST_F(RollPageQueryTest, SuccessFillsAllElevenValuesByName) {
  const char* names[] = {"PAGE_AREA_SHARED_MEMORY", "PAGE_AREA_SIZE", "PAGE_CURRENTLY_USED",
                         "PAGE_MAX_USED",           "PAGE_WP_LOCAL",  "PAGING_FILE_SIZE",
                         "ROLL_AREA_SHARED_MEMORY", "ROLL_AREA_SIZE", "ROLL_CURRENTLY_USED",
                         "ROLL_FILE_SIZE",          "ROLL_MAX_USED"};
  for (std::size_t i = 0; i < std::size(names); ++i) fake.values[names[i]] = static_cast<std::int32_t>(100 + i);
  EXPECT_EQ(query(), RFC_RESULT_OK);
  EXPECT_EQ(fake.called_function, "SAPTUNE_ROLL_PAGE_SIZES");
  EXPECT_TRUE(fake.sending_list_empty);
  EXPECT_TRUE(fake.table_lists_empty);
  EXPECT_EQ(fake.receiving_names, std::vector<std::string>(std::begin(names), std::end(names)));
  EXPECT_TRUE(fake.receiving_entries_well_formed);
  for (std::size_t i = 0; i < std::size(names); ++i) EXPECT_EQ(sizes.value[i], static_cast<std::int32_t>(100 + i)) << i;
  EXPECT_EQ(exception_text.view(), "untouched");
}

TEST_F(RollPageQueryTest, FailedSendReturnsItsCodeWithoutReceiving) {
  fake.call_result = RFC_RESULT_FAILURE;
  fake.values["PAGE_AREA_SIZE"] = 5;
  EXPECT_EQ(query(), RFC_RESULT_FAILURE);
  EXPECT_EQ(fake.events, std::vector<std::string>{"RfcCall"});
  EXPECT_EQ(sizes.value[PAGE_AREA_SIZE], 0);
  EXPECT_EQ(exception_text.view(), "untouched");
}

TEST_F(RollPageQueryTest, ExceptionsCopyTheirText) {
  fake.receive_result = RFC_RESULT_EXCEPTION;
  fake.exception_text = "NOT_AUTHORIZED";
  EXPECT_EQ(query(), RFC_RESULT_EXCEPTION);
  EXPECT_EQ(exception_text.view(), "NOT_AUTHORIZED");

  fake.receive_result = RFC_RESULT_SYS_EXCEPTION;
  fake.exception_text = "SYSTEM_FAILURE";
  EXPECT_EQ(query(), RFC_RESULT_SYS_EXCEPTION);
  EXPECT_EQ(exception_text.view(), "SYSTEM_FAILURE");

  fake.exception_text.reset();
  EXPECT_EQ(query(), RFC_RESULT_SYS_EXCEPTION);
  EXPECT_EQ(exception_text.view(), "");
}

TEST_F(RollPageQueryTest, OverlongExceptionTextIsCutAt255Characters) {
  fake.receive_result = RFC_RESULT_EXCEPTION;
  fake.exception_text = std::string(300, 'x');
  query();
  EXPECT_EQ(exception_text.view(), std::string(255, 'x'));
  // Never within a character: a sequence that would end past 255 is left out.
  fake.exception_text = std::string(254, 'x') + "\xC3\xA4";
  query();
  EXPECT_EQ(exception_text.view(), std::string(254, 'x'));
  fake.exception_text = std::string(253, 'x') + "\xC3\xA4";
  query();
  EXPECT_EQ(exception_text.view(), std::string(253, 'x') + "\xC3\xA4");
}

TEST_F(RollPageQueryTest, ExceptionTextIsKeptOnOneLine) {
  for (rfc_result_code code : {RFC_RESULT_EXCEPTION, RFC_RESULT_SYS_EXCEPTION}) {
    fake.receive_result = code;
    fake.exception_text = "line 1\r\nline 2\n\x1B[0m \xE4";
    query();
    EXPECT_EQ(exception_text.view(), "line 1  line 2  [0m \xE4") << code;
  }
}

TEST_F(RollPageQueryTest, OtherCodesLeaveTheTextAlone) {
  fake.receive_result = 4;
  fake.exception_text = "IGNORED";
  EXPECT_EQ(query(), 4);
  EXPECT_EQ(exception_text.view(), "untouched");
}
