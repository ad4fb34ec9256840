#include "common/run_options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Assembled {
  bool fits;
  std::string given;
  std::string run;
  bool console_mode;
};

Assembled assemble(std::vector<const char*> argv) {
  RunOptions options;
  const bool fits = assemble_run_options(options, static_cast<int>(argv.size()), argv.data());
  return {fits, std::string(options.given_options.view()), std::string(options.run_options.view()),
          options.console_mode};
}

}  // namespace

TEST(RunOptions, OptionWordsAreJoinedByOneBlankAndUpperCased) {
  const Assembled options = assemble({"quenmarel", "PRD", "ITEM=Pages:Used", ",syslog"});
  EXPECT_EQ(options.given, "ITEM=Pages:Used ,syslog");
  EXPECT_EQ(options.run, "ITEM=PAGES:USED ,SYSLOG");
  EXPECT_FALSE(options.console_mode);
}

TEST(RunOptions, ArgumentsAfterTheThirdAreIgnored) {
  EXPECT_EQ(assemble({"quenmarel", "PRD", "ONE", "TWO", "THREE"}).given, "ONE TWO");
  EXPECT_EQ(assemble({"quenmarel", "PRD"}).given, "");
}

TEST(RunOptions, OnlyLettersAToZAreUpperCased) {
  EXPECT_EQ(assemble({"quenmarel", "PRD", "ch=2,\xe4x"}).run, "CH=2,\xe4X");
}

TEST(RunOptions, AnyConsoleCharacterSwitchesConsoleModeOn) {
  for (const char* word : {"#", "@", "$", "%", "CH=2@X", "x%"})
    EXPECT_TRUE(assemble({"quenmarel", "PRD", word}).console_mode) << word;
  EXPECT_TRUE(assemble({"quenmarel", "PRD", "CH=2", "#"}).console_mode);
  EXPECT_FALSE(assemble({"quenmarel", "PRD", "CH=2", ",SYSLOG"}).console_mode);
}

TEST(RunOptions, OptionTextOfExactly127CharactersFits) {
  const std::string first(60, 'a'), second(66, 'b');  // 60 + blank + 66 = 127
  const Assembled options = assemble({"quenmarel", "PRD", first.c_str(), second.c_str()});
  EXPECT_TRUE(options.fits);
  EXPECT_EQ(options.given.size(), 127u);
}

TEST(RunOptions, LongerOptionTextIsRefusedNotCut) {
  const std::string first(60, 'a'), second(67, 'b');
  const Assembled two_words = assemble({"quenmarel", "PRD", first.c_str(), second.c_str()});
  EXPECT_FALSE(two_words.fits);
  EXPECT_EQ(two_words.given, "");
  EXPECT_EQ(two_words.run, "");
  const std::string one_word(128, '#');
  const Assembled long_word = assemble({"quenmarel", "PRD", one_word.c_str()});
  EXPECT_FALSE(long_word.fits);
  EXPECT_FALSE(long_word.console_mode);
}
