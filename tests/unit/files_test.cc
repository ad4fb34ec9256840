#include "platform/files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "platform/directories.h"
#include "test_support.h"

namespace {

// What may lie under a name the sensor uses, besides a regular file.
enum class Planted { Directory, Pipe, LinkToDevZero, LinkToVictim, DanglingLink };

void plant(Planted kind, const char* name) {
  switch (kind) {
    case Planted::Directory:
      ASSERT_EQ(mkdir(name, 0755), 0);
      break;
    case Planted::Pipe:
      ASSERT_EQ(mkfifo(name, 0644), 0);
      break;
    case Planted::LinkToDevZero:
      ASSERT_EQ(symlink("/dev/zero", name), 0);
      break;
    case Planted::LinkToVictim:
      ASSERT_EQ(symlink("victim", name), 0);
      break;
    case Planted::DanglingLink:
      ASSERT_EQ(symlink("nowhere", name), 0);
      break;
  }
}

constexpr Planted every_planted[] = {Planted::Directory, Planted::Pipe, Planted::LinkToDevZero, Planted::LinkToVictim,
                                     Planted::DanglingLink};

bool is_link(const char* name) { return std::filesystem::is_symlink(name); }

}  // namespace

// A pipe would block the open itself, /dev/zero would feed the reader for
// ever, a directory reads as an empty file on Linux: each counts as missing.
TEST(Files, ReadingTakesRegularFilesOnlyAndReturnsAtOnce) {
  ScratchDirectory directory;
  directory.write("victim", "text\n");
  for (Planted kind : {Planted::Directory, Planted::Pipe, Planted::LinkToDevZero, Planted::DanglingLink}) {
    plant(kind, "PRD.P00");
    EXPECT_EQ(open_file_for_reading("PRD.P00"), nullptr) << static_cast<int>(kind);
    std::filesystem::remove("PRD.P00");
  }
  plant(Planted::LinkToVictim, "PRD.P00");  // an administrator's link to a profile is fine
  OwnedFile linked(open_file_for_reading("PRD.P00"));
  ASSERT_NE(linked, nullptr);
  EXPECT_EQ(std::fgetc(linked.get()), 't');
}

TEST(Files, NewFileIsNeverCreatedOverAnythingNorThroughALink) {
  ScratchDirectory directory;
  for (Planted kind : every_planted) {
    directory.write("victim", "untouched");
    plant(kind, "SapRfc.ini.new");
    EXPECT_EQ(create_new_file("SapRfc.ini.new", FileReaders::Everyone), nullptr) << static_cast<int>(kind);
    EXPECT_EQ(directory.read("victim"), "untouched");
    EXPECT_FALSE(directory.exists("nowhere"));
    std::filesystem::remove("SapRfc.ini.new");
  }
  directory.write("SapRfc.ini.new", "old");
  EXPECT_EQ(create_new_file("SapRfc.ini.new", FileReaders::Everyone), nullptr);
  EXPECT_EQ(directory.read("SapRfc.ini.new"), "old");
}

TEST(Files, NewFileForTheOwnerOnlyIsReadableByNobodyElse) {
  ScratchDirectory directory;
  OwnedFile created(create_new_file("PRD.P00", FileReaders::OwnerOnly));
  ASSERT_NE(created, nullptr);
  struct stat status;
  ASSERT_EQ(stat("PRD.P00", &status), 0);
  EXPECT_EQ(status.st_mode & 0077, 0u);
}

TEST(Files, AppendingGoesToARegularFileOnlyNeverThroughALink) {
  ScratchDirectory directory;
  for (Planted kind : every_planted) {
    directory.write("victim", "untouched");
    plant(kind, "Dev_Rfc.Trc");
    EXPECT_FALSE(append_in_one_piece("Dev_Rfc.Trc", "x")) << static_cast<int>(kind);
    EXPECT_EQ(directory.read("victim"), "untouched");
    EXPECT_FALSE(directory.exists("nowhere"));
    std::filesystem::remove("Dev_Rfc.Trc");
  }
  EXPECT_TRUE(append_in_one_piece("Dev_Rfc.Trc", "a\n"));
  EXPECT_TRUE(append_in_one_piece("Dev_Rfc.Trc", "bc\n"));
  EXPECT_EQ(directory.read("Dev_Rfc.Trc"), "a\nbc\n");
}

TEST(Files, RemovingTakesRegularFilesOnlyAndLeavesLinkTargets) {
  ScratchDirectory directory;
  for (Planted kind : every_planted) {
    directory.write("victim", "untouched");
    plant(kind, "Dev_Rfc.Trc");
    EXPECT_FALSE(remove_regular_file("Dev_Rfc.Trc")) << static_cast<int>(kind);
    EXPECT_TRUE(directory.exists("Dev_Rfc.Trc") || is_link("Dev_Rfc.Trc"));
    EXPECT_EQ(directory.read("victim"), "untouched");
    std::filesystem::remove("Dev_Rfc.Trc");
  }
  directory.write("Dev_Rfc.Trc", "trace");
  EXPECT_TRUE(remove_regular_file("Dev_Rfc.Trc"));
  EXPECT_FALSE(directory.exists("Dev_Rfc.Trc"));
}

TEST(Files, AppendingNeverGoesThroughALinkInPlaceOfItsDirectory) {
  ScratchDirectory directory;
  ASSERT_EQ(mkdir("elsewhere", 0755), 0);
  ASSERT_EQ(symlink("elsewhere", "nwrfc-trace"), 0);
  EXPECT_FALSE(append_in_one_piece("nwrfc-trace\\bridge.trc", "x"));
  EXPECT_FALSE(directory.exists("elsewhere/bridge.trc"));
  std::filesystem::remove("nwrfc-trace");
  ASSERT_EQ(mkdir("nwrfc-trace", 0700), 0);
  EXPECT_TRUE(append_in_one_piece("nwrfc-trace\\bridge.trc", "line\n"));
  EXPECT_EQ(directory.read("nwrfc-trace/bridge.trc"), "line\n");
}

TEST(Files, OwnDirectoryIsMadeForTheOwnerAloneAndNeverTakenThroughALink) {
  ScratchDirectory directory;
  const mode_t previous_mask = umask(0);
  EXPECT_EQ(make_own_directory("nwrfc-trace"), OwnDirectory::Ready);
  umask(previous_mask);
  struct stat status;
  ASSERT_EQ(lstat("nwrfc-trace", &status), 0);
  EXPECT_EQ(status.st_mode & 0777, 0700u);
  EXPECT_EQ(make_own_directory("nwrfc-trace"), OwnDirectory::Ready);  // found as it was made
  std::filesystem::remove("nwrfc-trace");
  const struct {
    Planted kind;
    OwnDirectory expected;
  } rows[] = {{Planted::LinkToVictim, OwnDirectory::Link},
              {Planted::DanglingLink, OwnDirectory::Link},
              {Planted::Pipe, OwnDirectory::NotADirectory}};
  for (const auto& row : rows) {
    ASSERT_EQ(mkdir("victim", 0755), 0);
    plant(row.kind, "nwrfc-trace");
    EXPECT_EQ(make_own_directory("nwrfc-trace"), row.expected) << static_cast<int>(row.kind);
    EXPECT_FALSE(directory.exists("nowhere"));
    std::filesystem::remove("nwrfc-trace");
    std::filesystem::remove("victim");
  }
  EXPECT_EQ(make_own_directory("missing\\nwrfc-trace"), OwnDirectory::NotMade);
}
