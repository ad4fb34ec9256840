#include <windows.h>

#include "platform/file_lock.h"
#include "platform/range_lock_win32.h"

FileLock::FileLock(const char* windows_path, int timeout_ms) {
  HANDLE file = CreateFileA(windows_path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  handle_ = reinterpret_cast<long long>(file);
  held_ = lock_range_with_deadline(file, 0, 1, true, timeout_ms);
  timed_out_ = !held_;
}

FileLock::~FileLock() {
  if (handle_ == -1) return;
  HANDLE file = reinterpret_cast<HANDLE>(handle_);
  if (held_) unlock_range(file, 0, 1);
  CloseHandle(file);
}
