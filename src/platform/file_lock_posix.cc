#include "platform/file_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "platform/native_path_posix.h"

namespace {

constexpr int retry_interval_ms = 2;

void pause_briefly() {
  const timespec interval{0, retry_interval_ms * 1000000L};
  nanosleep(&interval, nullptr);
}

}  // namespace

FileLock::FileLock(const char* windows_path, int timeout_ms) {
  NativePath native;
  if (!to_native_path(windows_path, native)) return;
  const int descriptor = open(native.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
  if (descriptor < 0) return;
  handle_ = descriptor;
  // Polling keeps the wait bounded without signals; the lock is held only for
  // the moment a logon file is copied and a connection opened.
  for (int waited = 0;; waited += retry_interval_ms) {
    if (flock(descriptor, LOCK_EX | LOCK_NB) == 0) {
      held_ = true;
      return;
    }
    if ((errno != EWOULDBLOCK && errno != EINTR) || waited >= timeout_ms) return;
    pause_briefly();
  }
}

FileLock::~FileLock() {
  if (handle_ < 0) return;
  if (held_) flock(static_cast<int>(handle_), LOCK_UN);
  close(static_cast<int>(handle_));
}
