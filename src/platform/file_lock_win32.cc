#include "platform/file_lock.h"

#include <windows.h>

namespace {

constexpr int retry_interval_ms = 2;

}  // namespace

FileLock::FileLock(const char* windows_path, int timeout_ms) {
  HANDLE file = CreateFileA(windows_path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  handle_ = reinterpret_cast<long long>(file);
  // Polling keeps the wait bounded; the lock is held only for the moment a
  // logon file is copied and a connection opened.
  for (int waited = 0;; waited += retry_interval_ms) {
    OVERLAPPED whole_file{};
    if (LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &whole_file)) {
      held_ = true;
      return;
    }
    if (waited >= timeout_ms) return;
    Sleep(retry_interval_ms);
  }
}

FileLock::~FileLock() {
  if (handle_ == -1) return;
  HANDLE file = reinterpret_cast<HANDLE>(handle_);
  if (held_) {
    OVERLAPPED whole_file{};
    UnlockFileEx(file, 0, 1, 0, &whole_file);
  }
  CloseHandle(file);
}
