#include "config/parallel_setting.h"

#include <gtest/gtest.h>

#include <string>

namespace {

RunOptions options_of(const std::string& given) {
  RunOptions options;
  options.given_options.assign(given);
  refresh_run_options(options);
  return options;
}

}  // namespace

TEST(ParallelSetting, ValueIsOneToSixteenWithItsCommaInAnyCase) {
  const struct {
    const char* options;
    bool given;
    unsigned systems;
    const char* value;
  } cases[] = {
      {"ITEM=Pages:Used", false, 0, ""},
      {"ITEM=Pages:Used PARALLEL=4", false, 0, ""},  // no comma, no keyword
      {",PARALLEL=1", true, 1, "1"},
      {",parallel=16", true, 16, "16"},
      {"ITEM=Pages:Used,Parallel=8,CH=2", true, 8, "8"},
      {"ITEM=Pages:Used ,PARALLEL=08 #", true, 8, "08"},
      {",PARALLEL=0", true, 0, "0"},
      {",PARALLEL=17", true, 0, "17"},
      {",PARALLEL=100", true, 0, "100"},
      {",PARALLEL=016", true, 0, "016"},
      {",PARALLEL=", true, 0, ""},
      {",PARALLEL=eight", true, 0, "eight"},
      {",PARALLEL=8x", true, 0, "8x"},
      {",PARALLEL=-8", true, 0, "-8"},
      {",PARALLEL=4,PARALLEL=99", true, 4, "4"},  // the first one counts, as for every keyword
  };
  for (const auto& row : cases) {
    const ParallelSetting setting = parallel_setting(options_of(row.options));
    EXPECT_EQ(setting.given, row.given) << row.options;
    EXPECT_EQ(setting.systems, row.systems) << row.options;
    EXPECT_EQ(setting.value.view(), row.value) << row.options;
  }
}

TEST(ParallelSetting, ListingEntryDecidesWhenItNamesTheKeywordElseTheCommandLine) {
  const struct {
    const char* entry;
    const char* command_line;
    unsigned systems;
    const char* value;
  } cases[] = {
      {" Item=Pages Used,PARALLEL=2", "SENSOR01 ,PARALLEL=99", 2, "2"},
      {" Item=Pages Used,PARALLEL=0", "SENSOR01 ,PARALLEL=4", 0, "0"},
      {" Item=Pages Used", "SENSOR01 ,PARALLEL=4", 4, "4"},
      {" Item=Pages Used", "SENSOR01 ,PARALLEL=17", 0, "17"},
      {" Item=Pages Used", "SENSOR01", 0, ""},
  };
  for (const auto& row : cases) {
    const ParallelSetting setting = parallel_setting_of_run(options_of(row.entry), options_of(row.command_line));
    EXPECT_EQ(setting.systems, row.systems) << row.entry << " / " << row.command_line;
    EXPECT_EQ(setting.value.view(), row.value) << row.entry << " / " << row.command_line;
  }
}
