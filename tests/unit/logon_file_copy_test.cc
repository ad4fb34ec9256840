#include "rfc/logon_file_copy.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "common/line_reader.h"
#include "platform/files.h"
#include "test_support.h"

namespace {

unsigned mode_of(const std::string& name) {
  struct stat status;
  return stat(name.c_str(), &status) == 0 ? status.st_mode & 0777 : 01000;
}

}  // namespace

// A logon file may hold the password of a SAProuter route or the names of a
// secure network's keys: its copies grant nobody more than it does.
TEST(LogonFileCopy, CopiesGrantNobodyMoreThanTheirSource) {
  ScratchDirectory directory;
  const mode_t previous_mask = umask(022);
  const std::string own_copy = "SapRfc-" + std::to_string(getpid()) + ".ini";
  const struct {
    unsigned source;
    unsigned shared_copy;
    unsigned own_copy;
  } rows[] = {{0600, 0600, 0600}, {0640, 0640, 0600}, {0644, 0644, 0600}, {0400, 0400, 0400}};
  for (const auto& row : rows) {
    directory.write("SapRfc.PRD", "DEST=PRD\nASHOST=/H/gate/W/secret/H/sapprd01\nSYSNR=00\n");
    ASSERT_EQ(chmod("SapRfc.PRD", row.source), 0);
    OwnedFile source(open_file_for_reading("SapRfc.PRD"));
    ASSERT_NE(source, nullptr);
    BoundedText<255> failure;
    ASSERT_TRUE(refresh_shared_logon_file(source.get(), failure)) << failure.view();
    EXPECT_EQ(mode_of("SapRfc.ini"), row.shared_copy) << std::oct << row.source;
    ASSERT_TRUE(seek_from_start(source.get(), 0));
    {
      OwnLogonFile own;
      ASSERT_TRUE(own.rewrite(source.get(), failure)) << failure.view();
      EXPECT_EQ(mode_of(own_copy), row.own_copy) << std::oct << row.source;
      EXPECT_EQ(directory.read(own_copy), directory.read("SapRfc.PRD"));
    }
    EXPECT_EQ(directory.read("SapRfc.ini"), directory.read("SapRfc.PRD"));
    unlink("SapRfc.PRD");
  }
  umask(previous_mask);
  unsetenv("RFC_INI");  // the own copy named itself there
}

// A logon file far longer than any library reads is copied up to what they
// read, so that its copy holds the lock no longer than that takes.
TEST(LogonFileCopy, CopyEndsWhereTheLibrariesStopReading) {
  ScratchDirectory directory;
  const std::string entry = "DEST=PRD\nASHOST=sapprd01\nSYSNR=00\n";
  const std::string comments(text_file_byte_bound + 4096 - entry.size(), '*');
  directory.write("SapRfc.PRD", entry + comments);
  OwnedFile source(open_file_for_reading("SapRfc.PRD"));
  ASSERT_NE(source, nullptr);
  BoundedText<255> failure;
  ASSERT_TRUE(refresh_shared_logon_file(source.get(), failure)) << failure.view();
  EXPECT_EQ(directory.read("SapRfc.ini"), (entry + comments).substr(0, text_file_byte_bound));
}
