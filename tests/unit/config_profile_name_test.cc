#include <gtest/gtest.h>

#include <string>

#include "config/profile_name.h"
#include "test_support.h"

namespace {

struct FormedName {
  std::string directory, file;
  bool item_mode;
  std::string item_name;
};

FormedName form(const std::string& argument, const std::string& options = "") {
  TestRun run;
  RunState& state = run.state();
  state.given_options.assign(options);
  state.run_options.assign(options);
  state.run_options.to_upper();
  form_profile_name(state, argument.c_str());
  return {std::string(state.sensor_directory.view()), std::string(state.profile_file_name.view()), state.item_mode,
          std::string(state.item_name.view())};
}

int refused_code(const std::string& argument, std::string& printed) {
  TestRun run;
  const int code = exit_code_of([&] { form_profile_name(run.state(), argument.c_str()); });
  printed = run.printed();
  return code;
}

}  // namespace

TEST(ProfileName, ExtensionIsAddedUnlessTheFourthCharacterFromTheEndIsADot) {
  EXPECT_EQ(form("PRD").file, "PRD.P00");
  EXPECT_EQ(form("PRD.TXT").file, "PRD.TXT");
  EXPECT_EQ(form("A.B").file, "A.B.P00");
  EXPECT_EQ(form("").file, ".P00");
  EXPECT_FALSE(form("PRD").item_mode);
}

TEST(ProfileName, OnlyABackslashAfterTheFirstCharacterSplitsOffTheDirectory) {
  const FormedName nested = form("D:\\cfg\\sub\\PRD");
  EXPECT_EQ(nested.directory, "D:\\cfg\\sub\\");
  EXPECT_EQ(nested.file, "PRD.P00");
  EXPECT_EQ(form("cfg/PRD").directory, "");
  const FormedName rooted = form("\\PRD");
  EXPECT_EQ(rooted.directory, "");
  EXPECT_EQ(rooted.file, "\\PRD.P00");
}

TEST(ProfileName, GlobalInAnyCaseSwitchesToTheGlobalListingInTheGivenDirectory) {
  for (const char* argument : {"global", "GLOBAL.P00", "GloBal.p00"}) {
    const FormedName formed = form(argument);
    EXPECT_TRUE(formed.item_mode) << argument;
    EXPECT_EQ(formed.file, "SAP Gastrelo.Gbl") << argument;
  }
  EXPECT_EQ(form("D:\\cfg\\Global").directory, "D:\\cfg\\");
  EXPECT_FALSE(form("GLOBAL.TXT").item_mode);
}

TEST(ProfileName, ItemOptionReplacesTheWholeArgumentByTheItemProfile) {
  const FormedName formed = form("D:\\cfg\\GLOBAL", "X item=pages:used,SYSLOG");
  EXPECT_TRUE(formed.item_mode);
  EXPECT_EQ(formed.directory, "");
  EXPECT_EQ(formed.file, "Gastrelo.Prf");
  EXPECT_EQ(formed.item_name, "pages used");
  EXPECT_EQ(form("PRD", "ITEM=Pages Used").item_name, "Pages");
  EXPECT_EQ(form("PRD", "ITEM=" + std::string(95, 'i')).item_name, std::string(90, 'i'));
}

TEST(ProfileName, NamesUpToTheirCapacityFitAndLongerOnesAreRefused) {
  EXPECT_EQ(form(std::string(59, 'n')).file.size(), 63u);
  EXPECT_EQ(form(std::string(94, 'd') + "\\PRD").directory.size(), 95u);
  std::string printed;
  EXPECT_EQ(refused_code(std::string(60, 'n'), printed), 2);
  EXPECT_NE(printed.find("<Text>Error 1016: Profile-Name too long...</Text>"), std::string::npos);
  EXPECT_EQ(refused_code(std::string(95, 'd') + "\\PRD", printed), 2);
  EXPECT_EQ(refused_code(std::string(4000, 'x'), printed), 2);
  EXPECT_TRUE(form(std::string(4000, 'x'), "ITEM=Pages:Used").item_mode);
}
