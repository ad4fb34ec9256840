#include <gtest/gtest.h>

#include <random>
#include <string>

#include "config/password.h"
#include "config/password_scrambling.h"

namespace {

ScrambleOutcome scramble(const std::string& password, std::string& form) {
  BoundedText<24> stored;
  const ScrambleOutcome outcome = scramble_password(password, stored);
  form = std::string(stored.view());
  return outcome;
}

}  // namespace

TEST(PasswordScrambling, RandomPrintablePasswordsComeBackUnchangedFromPrintableStoredForms) {
  std::mt19937 random(20220829);
  std::uniform_int_distribution<int> length(1, 20), character(0x20, 0x7E);
  for (int round = 0; round < 20000; ++round) {
    std::string password;
    for (int i = length(random); i > 0; --i) password += static_cast<char>(character(random));
    std::string form;
    ASSERT_EQ(scramble(password, form), ScrambleOutcome::Scrambled) << password;
    ASSERT_EQ(form.size(), 24u);
    ASSERT_TRUE(is_editor_safe(form)) << password << " -> " << form;
    BoundedText<20> back;
    ASSERT_EQ(descramble_password(form, back), PasswordOutcome::Descrambled) << password;
    ASSERT_EQ(back.view(), password);
  }
}

TEST(PasswordScrambling, PasswordsOutsideOneToTwentyPrintableCharactersAreRefused) {
  std::string form;
  EXPECT_EQ(scramble("", form), ScrambleOutcome::WrongLength);
  EXPECT_EQ(scramble(std::string(21, 'a'), form), ScrambleOutcome::WrongLength);
  EXPECT_EQ(scramble(std::string(20, 'a'), form), ScrambleOutcome::Scrambled);
  EXPECT_EQ(scramble("tab\there", form), ScrambleOutcome::NotPrintable);
  EXPECT_EQ(scramble("del\x7F", form), ScrambleOutcome::NotPrintable);
  EXPECT_EQ(scramble("umlaut\xE4", form), ScrambleOutcome::NotPrintable);
  EXPECT_EQ(form, "");
}
