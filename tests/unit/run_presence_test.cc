#include "platform/run_presence.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "test_support.h"

namespace {

constexpr const char* presence_file = "Quenmarel.runs";
constexpr int gate_timeout_ms = 5000;

void join_and_stay() {
  static RunPresence other;
  if (!other.join(presence_file, gate_timeout_ms)) _exit(1);
}

enum class Other { None, Before, After };

}  // namespace

// Each process's own locks are invisible to itself, so each case needs a
// second process beside the run.
TEST(RunPresence, RunIsAloneOnlyWhenNoOtherRunWasAtWorkSinceItJoined) {
  const struct {
    const char* what;
    Other other;
    bool other_ended;
    bool alone_since_joining;
    bool removes_the_trace_file;
  } cases[] = {
      {"no other run", Other::None, false, true, true},
      {"another joined before and is at work", Other::Before, false, false, false},
      {"another joined before and has ended", Other::Before, true, false, true},
      {"another joined after and is at work", Other::After, false, false, false},
      {"another joined after and has ended", Other::After, true, false, true},
  };
  for (const auto& c : cases) {
    ScratchDirectory directory;
    directory.write("Dev_Rfc.Trc", "trace text");
    std::unique_ptr<OtherProcess> other;
    if (c.other == Other::Before) other = std::make_unique<OtherProcess>(join_and_stay);
    RunPresence presence;
    ASSERT_TRUE(presence.join(presence_file, gate_timeout_ms)) << c.what;
    if (c.other == Other::After) other = std::make_unique<OtherProcess>(join_and_stay);
    if (c.other_ended) other->finish();
    EXPECT_EQ(presence.alone_since_joining(), c.alone_since_joining) << c.what;
    EXPECT_EQ(presence.remove_file_while_alone("Dev_Rfc.Trc"), c.removes_the_trace_file) << c.what;
    EXPECT_EQ(directory.exists("Dev_Rfc.Trc"), !c.removes_the_trace_file) << c.what;
  }
}

TEST(RunPresence, RunThatCannotJoinIsNeverAloneAndRemovesNothing) {
  ScratchDirectory directory;
  directory.write("Dev_Rfc.Trc", "trace text");
  std::filesystem::create_directory(presence_file);
  RunPresence presence;
  EXPECT_FALSE(presence.join(presence_file, gate_timeout_ms));
  EXPECT_FALSE(presence.alone_since_joining());
  EXPECT_FALSE(presence.remove_file_while_alone("Dev_Rfc.Trc"));
  EXPECT_TRUE(directory.exists("Dev_Rfc.Trc"));
}

TEST(RunPresence, OnlyRegularFilesAreRemoved) {
  ScratchDirectory directory;
  std::filesystem::create_directory("Dev_Rfc.Trc");
  RunPresence presence;
  ASSERT_TRUE(presence.join(presence_file, gate_timeout_ms));
  EXPECT_FALSE(presence.remove_file_while_alone("Dev_Rfc.Trc"));
  EXPECT_TRUE(directory.exists("Dev_Rfc.Trc"));
}
