#include <gtest/gtest.h>

#include <string>

#include "config/password.h"

namespace {

// Lays out a stored form step by step as a profile holds it: the reordered
// text back into body order, then header and body keyed.
std::string stored_form(const std::string& reordered, int check, int offset, int length) {
  std::string body(20, ' ');
  for (std::size_t i = 0; i < 10; ++i) {
    body[i] = reordered[2 * i];
    body[19 - i] = reordered[2 * i + 1];
  }
  const int header[4] = {check, offset, length / 10, length % 10};
  std::string form;
  for (int i = 0; i < 4; ++i) form += static_cast<char>(('0' + header[i]) ^ password_key[i]);
  for (std::size_t i = 0; i < 20; ++i) form += static_cast<char>(body[i] ^ password_key[offset + i]);
  return form;
}

PasswordOutcome descramble(const std::string& form, std::string& password) {
  BoundedText<20> text;
  const PasswordOutcome outcome = descramble_password(form, text);
  password = std::string(text.view());
  return outcome;
}

// "Secret-1" padded with "!" and "y"; its letters and digits add up to
// 83+101+99+114+101+116+49+121 = 784, so its check digit is 4.
const std::string reordered = "Secret-1!!!!!!!!!!!y";

}  // namespace

TEST(PasswordKey, EveryByteSpoilsOnePrintableCharacterAndTenInARowSpoilDifferentOnes) {
  for (unsigned char byte : password_key) {
    EXPECT_GE(byte, 0x01);
    EXPECT_LE(byte, 0x1F);
  }
  // Body position p meets the bytes p to p + 9 under the ten offsets; if two
  // of them were alike, one character could spoil two offsets at once.
  for (std::size_t position = 0; position < password_body_length; ++position)
    for (std::size_t i = position; i <= position + highest_key_offset; ++i)
      for (std::size_t j = i + 1; j <= position + highest_key_offset; ++j)
        EXPECT_NE(password_key[i], password_key[j]) << i << " and " << j;
}

TEST(PasswordDescrambling, BodyIsKeyedFromTheOffsetAndReadFromTheOutsideIn) {
  std::string password;
  for (int offset : {0, 7, 9}) {
    EXPECT_EQ(descramble(stored_form(reordered, 4, offset, 8), password), PasswordOutcome::Descrambled);
    EXPECT_EQ(password, "Secret-1");
  }
  EXPECT_EQ(descramble(stored_form(reordered, 4, 3, 99), password), PasswordOutcome::Descrambled);
  EXPECT_EQ(password, reordered) << "lengths above 20 give the whole text";
  EXPECT_EQ(descramble(stored_form(reordered, 4, 3, 0), password), PasswordOutcome::Descrambled);
  EXPECT_EQ(password, "");
}

TEST(PasswordDescrambling, CheckDigitCountsEveryLetterAndDigitOfAllTwentyCharacters) {
  std::string password;
  EXPECT_EQ(descramble(stored_form(reordered, 5, 0, 8), password), PasswordOutcome::CheckFailure);
  EXPECT_EQ(password, "");
  std::string padded = reordered;
  padded[19] = '!';  // 663: the padding beyond the password counts too
  EXPECT_EQ(descramble(stored_form(padded, 4, 0, 8), password), PasswordOutcome::CheckFailure);
  EXPECT_EQ(descramble(stored_form(padded, 3, 0, 8), password), PasswordOutcome::Descrambled);
}

TEST(PasswordDescrambling, WrongLengthOrAHeaderOfNonDigitsIsAFormatFailure) {
  const std::string form = stored_form(reordered, 4, 2, 8);
  std::string password;
  EXPECT_EQ(descramble(form.substr(1), password), PasswordOutcome::FormatFailure);
  EXPECT_EQ(descramble(form + "x", password), PasswordOutcome::FormatFailure);
  for (std::size_t position = 0; position < 4; ++position) {
    std::string spoiled = form;
    spoiled[position] = static_cast<char>(':' ^ password_key[position]);
    EXPECT_EQ(descramble(spoiled, password), PasswordOutcome::FormatFailure) << position;
    spoiled[position] = static_cast<char>('/' ^ password_key[position]);
    EXPECT_EQ(descramble(spoiled, password), PasswordOutcome::FormatFailure) << position;
  }
}
