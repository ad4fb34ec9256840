#include <gtest/gtest.h>

#include <string>

#include "config/password_scrambling.h"
#include "config/profile_file.h"
#include "test_support.h"
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

std::string error_document(const std::string& message) {
  return "<Prtg>\n<Error>1</Error>\n<Text>" + message + "</Text>\n</Prtg>\n";
}

class ProfileReading : public ::testing::Test {
 protected:
  ProfileReading() {
    state().profile_file_name.assign("PRD.P00");
    state().open_for_reading = VirtualFiles::open;
  }
  RunState& state() { return run.state(); }
  const SystemEntry& entry() { return run.state().system_entry; }

  // Reads `text` as the profile; the exit code, or -1 when reading returned.
  int read(const std::string& text, ProfileReadMode mode = ProfileReadMode::Single) {
    files.add("PRD.P00", text);
    std::FILE* file = VirtualFiles::open("PRD.P00");
    const int code = exit_code_of([&] { read_profile(state(), file, mode); });
    EXPECT_EQ(files.open_count(), 0) << "the profile was not closed";
    return code;
  }
  void expect_refused(const std::string& text, const std::string& message) {
    TestRun fresh;
    fresh.state().profile_file_name.assign("PRD.P00");
    files.add("PRD.P00", text);
    std::FILE* file = VirtualFiles::open("PRD.P00");
    EXPECT_EQ(exit_code_of([&] { read_profile(fresh.state(), file, ProfileReadMode::Single); }), 2) << message;
    EXPECT_EQ(fresh.printed(), error_document(message));
    EXPECT_EQ(files.open_count(), 0) << "the profile was not closed";
  }

  VirtualFiles files;
  TestRun run;
};

const std::string invalid_parameter = "Error 1003: Invalid Parameter(s) at PRD.P00 found...";
const std::string user_missing = "Error 1006: Username in Profile PRD.P00 is missing...";
const std::string password_missing = "Error 1007: Password in Profile PRD.P00 is missing...";

}  // namespace

TEST_F(ProfileReading, LineEndsAndStrayBytesDoNotChangeTheValues) {
  std::string crlf;
  for (char c : profile_with()) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  crlf.erase(crlf.size() - 2);  // the last line without its line end
  EXPECT_EQ(read(crlf), -1);
  EXPECT_EQ(entry().gwservice.view(), "sapgw00");
  EXPECT_EQ(read(std::string("\0\xff\x01rubbish\n", 11) +
                 profile_with("Client.....:", std::string("Client.....: 1\0"
                                                          "00\0\n",
                                                          19)) +
                 std::string(500, '\0')),
            -1);
  EXPECT_EQ(entry().client.view(), "100");
}

TEST_F(ProfileReading, ValuesKeepTheirBlanksEndAfterSixtyCharactersAndTheLastOccurrenceStands) {
  EXPECT_EQ(read(profile_with("Client.....:", "Client.....:x000  \n") + line("Mode.......:", "R/2 ") +
                 line("Extcompany.:", std::string(70, 'e'))),
            -1);
  EXPECT_EQ(entry().client.view(), "000  ");
  EXPECT_EQ(entry().mode.view(), "R/2 ");
  EXPECT_EQ(entry().extcompany.view(), std::string(60, 'e'));
}

TEST_F(ProfileReading, OverlongLineIsReadInPiecesEachExaminedAsALine) {
  const std::string hidden = std::string(99, '-') + "Destination: QAS\n";
  EXPECT_EQ(read(profile_with() + hidden, ProfileReadMode::Listed), -1);
  EXPECT_EQ(entry().destination.view(), "PRD") << "an item-mode run reads the line as one piece";
  EXPECT_EQ(read(profile_with() + std::string(98, '-') + "Destination: DEV\n"), -1);
  EXPECT_EQ(entry().destination.view(), "PRD");
  EXPECT_EQ(read(profile_with() + hidden), -1);
  EXPECT_EQ(entry().destination.view(), "QAS");
}

TEST_F(ProfileReading, DefectsAfterTheWholeFileAreReportedUserThenPasswordThenParameters) {
  const std::string no_user = profile_with("User.......:", "USER.......: monitor\n");
  expect_refused(no_user + line("Password...:", "") + line("Extcompany.:", "E"), user_missing);
  expect_refused(profile_with("Password...:", "Password...:\n") + line("Extcompany.:", "E"), password_missing);
}

TEST_F(ProfileReading, ValueLongerThanItsFieldIsAnInvalidParameterNotACutValue) {
  EXPECT_EQ(read(profile_with("Destination:", line("Destination:", std::string(11, 'd')))), -1);
  expect_refused(profile_with("Destination:", line("Destination:", std::string(12, 'd'))), invalid_parameter);
  expect_refused(profile_with("User.......:", line("User.......:", std::string(48, 'u'))), invalid_parameter);

  EXPECT_EQ(read(profile_with("Hostname...:", line("Hostname...:", std::string(48, 'h'))), ProfileReadMode::Listed),
            -1);
  EXPECT_FALSE(entry().entry_valid);
  EXPECT_EQ(entry().hostname.view(), "");
  EXPECT_EQ(read(profile_with("Hostname...:", ""), ProfileReadMode::Listed), -1);
  EXPECT_FALSE(entry().entry_valid) << "a refused host name is not inherited";
}

TEST_F(ProfileReading, ListedProfileKeepsEarlierValuesAndOnlyLosesItsValidity) {
  EXPECT_EQ(read(profile_with(), ProfileReadMode::Listed), -1);
  EXPECT_TRUE(entry().entry_valid);
  EXPECT_EQ(read(profile_with("Gwhost.....:", ""), ProfileReadMode::Listed), -1);
  EXPECT_TRUE(entry().entry_valid);
  EXPECT_EQ(entry().gwhost.view(), "sapprd01");

  const std::string bad_password = line("Password...:", "x") + profile_with("Password...:", "");
  EXPECT_EQ(read(bad_password + line("Sysnr......:", "42"), ProfileReadMode::Listed), -1);
  EXPECT_FALSE(entry().entry_valid);
  EXPECT_EQ(entry().sysnr.view(), "42") << "reading goes on after a bad password";
  EXPECT_EQ(read(profile_with("User.......:", ""), ProfileReadMode::Listed), -1);
  EXPECT_TRUE(entry().entry_valid) << "validity is set again for each profile";
  EXPECT_EQ(run.printed(), "");
}
