#include "platform/file_lock.h"

#include <gtest/gtest.h>

#include <chrono>

#include "test_support.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr const char* lock_file = "SapRfc.ini.lock";
// Far beyond what any wait here needs; only a wait that never ends exceeds it.
constexpr auto generous_bound = std::chrono::seconds(20);

void take_the_lock() {
  static FileLock held(lock_file, 1000);
  if (!held.held()) _exit(1);
}

}  // namespace

TEST(FileLock, WaiterTakesTheLockWhenTheHolderLetsGo) {
  ScratchDirectory directory;
  OtherProcess holder(take_the_lock, 300);
  const Clock::time_point start = Clock::now();
  const FileLock lock(lock_file, 20000);
  EXPECT_TRUE(lock.held());
  EXPECT_LT(Clock::now() - start, generous_bound);
}

TEST(FileLock, WaiterGivesUpAtItsDeadline) {
  ScratchDirectory directory;
  OtherProcess holder(take_the_lock);
  const Clock::time_point start = Clock::now();
  const FileLock lock(lock_file, 300);
  EXPECT_FALSE(lock.held());
  EXPECT_LT(Clock::now() - start, generous_bound);
  holder.finish();
  EXPECT_TRUE(FileLock(lock_file, 300).held());
}
