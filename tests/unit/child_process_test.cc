#include "platform/child_process.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cerrno>
#include <string>

#include "platform/clock.h"

namespace {

constexpr long long test_bound_ms = 20000;

// Runs a shell command as a child with `input`, collects its output until it
// ended, and returns it; the whole is bounded.
struct Finished {
  std::string output;
  int exit_code;
  ChildOutputState last_read;
};

Finished run_shell(const char* script, std::string_view input = "") {
  const char* arguments[] = {"sh", "-c", script, nullptr};
  ChildProcess child;
  BoundedText<4095> output;
  EXPECT_TRUE(child.start(ChildCommand{"/bin/sh", arguments}, input)) << script;
  ChildOutputState state = ChildOutputState::Open;
  const long long deadline = monotonic_ms() + test_bound_ms;
  ChildProcess* children[] = {&child};
  while (monotonic_ms() < deadline) {
    state = child.read_output(output);
    if (state == ChildOutputState::Overflow) child.kill();
    if (child.ended()) break;
    wait_for_children(children, 1, 1000);
  }
  if (state != ChildOutputState::Overflow) state = child.read_output(output);
  return Finished{std::string(output.view()), child.exit_code(), state};
}

bool no_child_is_left() { return waitpid(-1, nullptr, WNOHANG) == -1 && errno == ECHILD; }

}  // namespace

TEST(ChildProcess, InputReachesTheChildAndAllItWritesComesBack) {
  const Finished finished = run_shell("cat; printf 'and\\0more'", std::string_view("in\nput\0\xff", 8));
  EXPECT_EQ(finished.output, std::string("in\nput\0\xff"
                                         "and\0more",
                                         16));
  EXPECT_EQ(finished.exit_code, 0);
  EXPECT_TRUE(no_child_is_left());
}

TEST(ChildProcess, ExitCodeOrSignalIsTold) {
  const struct {
    const char* script;
    int exit_code;
  } cases[] = {{"exit 0", 0}, {"exit 1", 1}, {"exit 7", 7}, {"kill -9 $$", 137}, {"kill -15 $$", 143}};
  for (const auto& row : cases) EXPECT_EQ(run_shell(row.script).exit_code, row.exit_code) << row.script;
  EXPECT_TRUE(no_child_is_left());
}

TEST(ChildProcess, OutputBeyondTheRoomIsAnOverflow) {
  const Finished exactly = run_shell("head -c 4095 /dev/zero");
  EXPECT_EQ(exactly.output.size(), 4095u);
  EXPECT_EQ(exactly.last_read, ChildOutputState::Closed);
  const Finished more = run_shell("head -c 4096 /dev/zero");
  EXPECT_EQ(more.last_read, ChildOutputState::Overflow);
  EXPECT_EQ(more.output.size(), 4095u);
  EXPECT_TRUE(no_child_is_left());
}

TEST(ChildProcess, KilledChildIsReapedAtOnce) {
  const char* arguments[] = {"sh", "-c", "exec sleep 60", nullptr};
  ChildProcess child;
  ASSERT_TRUE(child.start(ChildCommand{"/bin/sh", arguments}, ""));
  EXPECT_TRUE(child.running());
  EXPECT_FALSE(child.ended());
  child.kill();
  EXPECT_FALSE(child.running());
  EXPECT_EQ(child.exit_code(), 137);
  EXPECT_TRUE(no_child_is_left());
}

TEST(ChildProcess, ChildStillRunningWhenItsObjectGoesIsKilled) {
  {
    const char* arguments[] = {"sh", "-c", "exec sleep 60", nullptr};
    ChildProcess child;
    ASSERT_TRUE(child.start(ChildCommand{"/bin/sh", arguments}, ""));
  }
  EXPECT_TRUE(no_child_is_left());
}

TEST(ChildProcess, WaitEndsWhenAChildWritesNotAtItsTimeout) {
  const char* arguments[] = {"sh", "-c", "echo now; exec sleep 60", nullptr};
  ChildProcess child;
  ASSERT_TRUE(child.start(ChildCommand{"/bin/sh", arguments}, ""));
  ChildProcess* children[] = {&child};
  const long long started = monotonic_ms();
  wait_for_children(children, 1, 60000);
  EXPECT_LT(monotonic_ms() - started, test_bound_ms);
  BoundedText<63> output;
  EXPECT_EQ(child.read_output(output), ChildOutputState::Open);
  EXPECT_EQ(output.view(), "now\n");
}

TEST(ChildProcess, ProgramThatCannotBeStartedIsRefused) {
  const char* arguments[] = {"missing", nullptr};
  ChildProcess child;
  EXPECT_FALSE(child.start(ChildCommand{"/nonexistent/missing", arguments}, ""));
  EXPECT_FALSE(child.running());
}
