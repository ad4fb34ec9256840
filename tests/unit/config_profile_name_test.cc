#include <gtest/gtest.h>

#include <string>

#include "config/profile_name.h"

namespace {

struct FormedName {
  std::string directory, file;
  bool item_mode;
  std::string item_name;
  /// The refusal's message; empty when the name was taken.
  std::string refusal;
};

FormedName form(const std::string& argument, const std::string& given_options = "") {
  RunOptions options;
  options.given_options.assign(given_options);
  refresh_run_options(options);
  ProfileLocation location;
  ItemName item_name;
  const ConfigStatus status = form_profile_name(location, item_name, options, argument.c_str());
  return {std::string(location.sensor_directory.view()), std::string(location.profile_file_name.view()),
          location.item_mode, std::string(item_name.view()), std::string(status.message())};
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
  // The longest option text holds the longest name whole.
  EXPECT_EQ(form("PRD", "ITEM=" + std::string(122, 'i')).item_name, std::string(122, 'i'));
}

TEST(ProfileName, NamesUpToTheirCapacityFitAndLongerOnesAreRefused) {
  EXPECT_EQ(form(std::string(59, 'n')).file.size(), 63u);
  EXPECT_EQ(form(std::string(59, 'n')).refusal, "");
  EXPECT_EQ(form(std::string(94, 'd') + "\\PRD").directory.size(), 95u);
  const std::string too_long = "Error 1016: Profile-Name too long...";
  EXPECT_EQ(form(std::string(60, 'n')).refusal, too_long);
  EXPECT_EQ(form(std::string(95, 'd') + "\\PRD").refusal, too_long);
  EXPECT_EQ(form(std::string(4000, 'x')).refusal, too_long);
  EXPECT_EQ(form(std::string(4000, 'x'), "ITEM=Pages:Used").refusal, "") << "the item profile replaces the name";
}
