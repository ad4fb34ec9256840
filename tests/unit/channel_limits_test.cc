#include "common/channel_limits.h"

#include <gtest/gtest.h>

TEST(ChannelLimits, WarningBelowErrorOrErrorAloneFromOneTo999) {
  const struct {
    const char* value;
    bool valid;
    unsigned warning;
    unsigned error;
  } cases[] = {
      {"80/95", true, 80, 95},   {"/95", true, 0, 95},      {"1/2", true, 1, 2},      {"998/999", true, 998, 999},
      {"/1", true, 0, 1},        {"080/095", true, 80, 95}, {"95/80", false, 0, 0},   {"80/80", false, 0, 0},
      {"0/95", false, 0, 0},     {"/0", false, 0, 0},       {"80/1000", false, 0, 0}, {"80/0999", false, 0, 0},
      {"80", false, 0, 0},       {"80/", false, 0, 0},      {"/", false, 0, 0},       {"", false, 0, 0},
      {"80/95/99", false, 0, 0}, {"-5/95", false, 0, 0},    {"+80/95", false, 0, 0},  {"8O/95", false, 0, 0},
      {"80.5/95", false, 0, 0},
  };
  for (const auto& row : cases) {
    ChannelLimits limits{7, 8};
    EXPECT_EQ(read_channel_limits(row.value, limits), row.valid) << row.value;
    // A refused value leaves the limits as they were.
    EXPECT_EQ(limits.warning, row.valid ? row.warning : 7u) << row.value;
    EXPECT_EQ(limits.error, row.valid ? row.error : 8u) << row.value;
  }
}
