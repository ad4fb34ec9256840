#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

#include "platform/deadline_wait_posix.h"
#include "platform/file_lock.h"
#include "platform/native_path_posix.h"

namespace {

int lock_exclusively(void* descriptor) { return flock(*static_cast<int*>(descriptor), LOCK_EX); }

}  // namespace

FileLock::FileLock(const char* windows_path, int timeout_ms) {
  NativePath native;
  if (!to_native_path(windows_path, native)) return;
  int descriptor = open(native.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0666);
  if (descriptor < 0) return;
  handle_ = descriptor;
  // A blocked waiter is woken the moment the holder lets go; a poll could
  // miss every short moment in which the lock is free.
  if (flock(descriptor, LOCK_EX | LOCK_NB) == 0) {
    held_ = true;
  } else if (errno == EWOULDBLOCK) {
    held_ = wait_with_deadline(lock_exclusively, &descriptor, timeout_ms);
    timed_out_ = !held_;
  }
}

FileLock::~FileLock() {
  if (handle_ < 0) return;
  if (held_) flock(static_cast<int>(handle_), LOCK_UN);
  close(static_cast<int>(handle_));
}
