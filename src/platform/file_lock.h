// An exclusive lock shared by every process that works in one directory.
#pragma once

/// Holds an exclusive lock on a lock file while it lives.  Processes that ask
/// for the same lock file wait for each other, blocked until it is free (so
/// that no waiter misses its turn) and each at most until its deadline.
class FileLock {
 public:
  /// Waits at most `timeout_ms` milliseconds of wall-clock time for the lock
  /// on `windows_path` (created if missing).
  FileLock(const char* windows_path, int timeout_ms);
  ~FileLock();
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;

  /// Whether the lock was obtained.
  bool held() const { return held_; }

  /// Whether the lock was held by another process until the deadline.
  bool timed_out() const { return timed_out_; }

 private:
  bool held_ = false;
  bool timed_out_ = false;
  // A file descriptor on POSIX, a HANDLE on Windows.
  long long handle_ = -1;
};
