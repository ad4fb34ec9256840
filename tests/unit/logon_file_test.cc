// The RFC kit's logon file: which file a destination is looked up in, and
// how a destination that is not found there is reported.
#include "logon_file.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "test_support.h"

namespace {

class LogonFile : public ::testing::Test {
 protected:
  void TearDown() override { unsetenv("RFC_INI"); }

  ScratchDirectory directory;
};

}  // namespace

TEST_F(LogonFile, RfcIniNamesTheLogonFileAndEveryMessageNamesIt) {
  std::filesystem::create_directory("elsewhere");
  directory.write("elsewhere/logon.ini", "DEST=PRD\nTYPE=A\nASHOST=sapprd01\nSYSNR=00\n");
  directory.write("SapRfc.ini", "DEST=QAS\nTYPE=A\nASHOST=sapqas01\nSYSNR=00\n");
  // A sensor run's own copy of "SapRfc.PRD", which messages never name: it
  // is gone when the run ends.
  directory.write("SapRfc-4242.ini", "DEST=PRD\nTYPE=A\nASHOST=sapprd01\nSYSNR=00\n");
  const struct {
    const char* rfc_ini;  // null: not set
    const char* destination;
    const char* status;
    const char* message;
  } rows[] = {
      {nullptr, "PRD", "unknown destination", "destination PRD not found in SapRfc.ini"},
      {"", "PRD", "unknown destination", "destination PRD not found in SapRfc.ini"},
      {"elsewhere/logon.ini", "PRD", "", ""},
      {"elsewhere/logon.ini", "QAS", "unknown destination", "destination QAS not found in elsewhere/logon.ini"},
      {"elsewhere/none.ini", "PRD", "no logon file", "elsewhere/none.ini (named by RFC_INI) not found"},
      {"SapRfc-4242.ini", "QAS", "unknown destination", "destination QAS not found in SapRfc.QAS"},
      {"SapRfc-42x.ini", "QAS", "no logon file", "SapRfc-42x.ini (named by RFC_INI) not found"},
  };
  for (const auto& row : rows) {
    if (row.rfc_ini == nullptr)
      unsetenv("RFC_INI");
    else
      setenv("RFC_INI", row.rfc_ini, 1);
    LogonFileEntry entry;
    const LogonFileLookup lookup = find_logon_entry(row.destination, entry);
    const char* status = "";
    BoundedText<255> message;
    if (lookup != LogonFileLookup::Found) describe_missing_entry(lookup, row.destination, &status, message);
    EXPECT_STREQ(status, row.status) << row.destination << " " << (row.rfc_ini ? row.rfc_ini : "(unset)");
    EXPECT_EQ(message.view(), row.message);
  }
  unsetenv("RFC_INI");
  std::filesystem::remove("SapRfc-4242.ini");
  std::filesystem::remove("SapRfc.ini");
  LogonFileEntry entry;
  const char* status = "";
  BoundedText<255> message;
  describe_missing_entry(find_logon_entry("PRD", entry), "PRD", &status, message);
  EXPECT_EQ(message.view(), "SapRfc.ini not found in the working directory");
}

TEST_F(LogonFile, LineLongerThanAPieceIsNeitherCutNorTakenForLinesOfItsOwn) {
  const std::string tail = "\nDEST=PRD\nTYPE=A\nASHOST=sapprd01\nSYSNR=00\n";
  const std::string beyond = std::string(1100, ' ') + "x";
  const struct {
    std::string text;
    LogonFileLookup lookup;
    const char* overlong_key;
  } rows[] = {
      // A value past the first piece would be cut: the entry names its key.
      {"DEST=PRD\nASHOST=sapprd01" + beyond + "\nSYSNR=00\n", LogonFileLookup::Found, "ASHOST"},
      // A destination that long names no profile's destination.
      {"DEST=PRD" + beyond + "\nTYPE=A\n", LogonFileLookup::NoEntry, ""},
      // The rest of a comment is no line, though it reads like an entry.
      {"* " + std::string(1021, 'c') + "DEST=PRD\nASHOST=elsewhere\n", LogonFileLookup::UnreadableStart, ""},
      {"DEST=QAS\nGWHOST=" + std::string(1016, 'g') + tail, LogonFileLookup::Found, ""},
  };
  for (const auto& row : rows) {
    directory.write("SapRfc.ini", row.text);
    LogonFileEntry entry;
    EXPECT_EQ(find_logon_entry("PRD", entry), row.lookup) << row.text.substr(0, 30);
    EXPECT_EQ(entry.overlong_key.view(), row.overlong_key) << row.text.substr(0, 30);
  }
}
