#include <gtest/gtest.h>

#include <string>

#include "config/password.h"
#include "config/password_scrambling.h"
#include "config/profile_file.h"
#include "virtual_files.h"

namespace {

std::string stored(const std::string& password) {
  BoundedText<24> form;
  scramble_password(password, form);
  return std::string(form.view());
}

std::string line(const std::string& label, const std::string& value) { return label + " " + value + "\n"; }

// The example profile, with the line of `label` replaced (or left out when `replacement` is empty).
std::string profile_with(const std::string& label = "", const std::string& replacement = "") {
  const std::string lines[][2] = {
      {"Extcompany.:", "EXT01"},
      {"Destination:", "PRD"},
      {"Client.....:", "100"},
      {"User.......:", "monitor"},
      {"Password...:", stored("Secret1")},
      {"Language...:", "EN"},
      {"Mode.......:", "R/3"},
      {"Hostname...:", "sapprd01"},
      {"Sysnr......:", "00"},
      {"Gwhost.....:", "sapprd01"},
      {"Gwservice..:", "sapgw00"},
  };
  std::string text;
  for (const auto& pair : lines) text += pair[0] == label ? replacement : line(pair[0], pair[1]);
  return text;
}

class ProfileReading : public ::testing::Test {
 protected:
  OwnedFile profile_file(const std::string& text) {
    files.add("PRD.P00", text);
    return OwnedFile(VirtualFiles::open("PRD.P00"));
  }
  // Reads `text` as the profile of a single-system run; the refusal's
  // message, empty when the profile was taken.
  std::string read(const std::string& text) {
    const ConfigStatus status = read_profile(profile_file(text), "PRD.P00", entry);
    EXPECT_EQ(files.open_count(), 0) << "the profile was not closed";
    return std::string(status.message());
  }
  // Reads `text` as a listed profile; whether the entry is valid.
  bool read_listed(const std::string& text) {
    const bool valid = read_listed_profile(profile_file(text), entry);
    EXPECT_EQ(files.open_count(), 0) << "the profile was not closed";
    return valid;
  }
  void expect_refused(const std::string& text, const std::string& message) {
    SystemEntry fresh;
    EXPECT_EQ(read_profile(profile_file(text), "PRD.P00", fresh).message(), message);
  }

  VirtualFiles files;
  SystemEntry entry;
};

const std::string invalid_parameter = "Error 1003: Invalid Parameter(s) at PRD.P00 found...";
const std::string user_missing = "Error 1006: Username in Profile PRD.P00 is missing...";
const std::string password_missing = "Error 1007: Password in Profile PRD.P00 is missing...";

}  // namespace

TEST_F(ProfileReading, LineEndsAndStrayBytesDoNotChangeTheValues) {
  std::string crlf;
  for (char c : profile_with()) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  crlf.erase(crlf.size() - 2);  // the last line without its line end
  EXPECT_EQ(read(crlf), "");
  EXPECT_EQ(entry.gwservice.view(), "sapgw00");
  EXPECT_EQ(read(std::string("\0\xff\x01rubbish\n", 11) +
                 profile_with("Client.....:", std::string("Client.....: 1\0"
                                                          "00\0\n",
                                                          19)) +
                 std::string(500, '\0')),
            "");
  EXPECT_EQ(entry.client.view(), "100");
}

TEST_F(ProfileReading, ValuesKeepTheirBlanksEndAfterSixtyCharactersAndTheLastOccurrenceStands) {
  EXPECT_EQ(read(profile_with("Client.....:", "Client.....:x000  \n") + line("Mode.......:", "R/2 ") +
                 line("Extcompany.:", std::string(70, 'e'))),
            "");
  EXPECT_EQ(entry.client.view(), "000  ");
  EXPECT_EQ(entry.mode.view(), "R/2 ");
  EXPECT_EQ(entry.extcompany.view(), std::string(60, 'e'));
}

TEST_F(ProfileReading, OverlongLineIsReadInPiecesEachExaminedAsALine) {
  const std::string hidden = std::string(99, '-') + "Destination: QAS\n";
  EXPECT_TRUE(read_listed(profile_with() + hidden));
  EXPECT_EQ(entry.destination.view(), "PRD") << "an item-mode run reads the line as one piece";
  EXPECT_EQ(read(profile_with() + std::string(98, '-') + "Destination: DEV\n"), "");
  EXPECT_EQ(entry.destination.view(), "PRD");
  EXPECT_EQ(read(profile_with() + hidden), "");
  EXPECT_EQ(entry.destination.view(), "QAS");
}

TEST_F(ProfileReading, DefectsAfterTheWholeFileAreReportedUserThenPasswordThenParameters) {
  const std::string no_user = profile_with("User.......:", "USER.......: monitor\n");
  expect_refused(no_user + line("Password...:", "") + line("Extcompany.:", "E"), user_missing);
  expect_refused(profile_with("Password...:", "Password...:\n") + line("Extcompany.:", "E"), password_missing);
}

TEST_F(ProfileReading, FirstPasswordFailureDecidesEvenWhenALaterPasswordIsSound) {
  std::string wrong_check = stored("Secret1");
  const int check_digit = (wrong_check[0] ^ password_key[0]) - '0';
  wrong_check[0] = static_cast<char>(('0' + (check_digit + 1) % 10) ^ password_key[0]);
  const std::string failures = line("Password...:", "abc") + line("Password...:", wrong_check);
  expect_refused(failures + profile_with(), "Error 1004: Invalid Password in Profile PRD.P00 found...");
  expect_refused(line("Password...:", wrong_check) + failures + profile_with(),
                 "Error 1005: Wrong Password in Profile PRD.P00 found...");
  EXPECT_FALSE(read_listed(failures + profile_with()));
}

TEST_F(ProfileReading, ValueLongerThanItsFieldIsAnInvalidParameterNotACutValue) {
  EXPECT_EQ(read(profile_with("Destination:", line("Destination:", std::string(11, 'd')))), "");
  expect_refused(profile_with("Destination:", line("Destination:", std::string(12, 'd'))), invalid_parameter);
  expect_refused(profile_with("User.......:", line("User.......:", std::string(48, 'u'))), invalid_parameter);

  EXPECT_FALSE(read_listed(profile_with("Hostname...:", line("Hostname...:", std::string(48, 'h')))));
  EXPECT_EQ(entry.hostname.view(), "");
  EXPECT_FALSE(read_listed(profile_with("Hostname...:", ""))) << "a refused host name is not inherited";
}

TEST_F(ProfileReading, ListedProfileKeepsEarlierValuesAndOnlyLosesItsValidity) {
  EXPECT_TRUE(read_listed(profile_with()));
  EXPECT_TRUE(read_listed(profile_with("Gwhost.....:", "")));
  EXPECT_EQ(entry.gwhost.view(), "sapprd01");

  const std::string bad_password = line("Password...:", "x") + profile_with("Password...:", "");
  EXPECT_FALSE(read_listed(bad_password + line("Sysnr......:", "42")));
  EXPECT_EQ(entry.sysnr.view(), "42") << "reading goes on after a bad password";
  EXPECT_TRUE(read_listed(profile_with("User.......:", ""))) << "validity is judged again for each profile";
}
