#include "platform/range_lock_win32.h"

namespace {

// Where a wait for a lock stands; the thread that waits and the run that gave
// up on it agree on who cleans up through one exchange of this value.
enum : LONG { wait_pending, wait_locked, wait_failed, wait_abandoned };

// A blocking LockFileEx cannot be given a deadline, and waits on overlapped
// handles are not available everywhere the sensor runs, so the blocking call
// is made by a thread of its own that the run can leave behind.
struct RangeWait {
  HANDLE file;  // a duplicate of the caller's handle, so that the caller may close its own
  std::uint64_t offset;
  DWORD length;
  DWORD flags;
  volatile LONG state;
};

OVERLAPPED at_offset(std::uint64_t offset) {
  OVERLAPPED position{};
  position.Offset = static_cast<DWORD>(offset);
  position.OffsetHigh = static_cast<DWORD>(offset >> 32);
  return position;
}

void release(RangeWait* wait) {
  CloseHandle(wait->file);
  HeapFree(GetProcessHeap(), 0, wait);
}

DWORD WINAPI wait_for_range(void* parameter) {
  auto* wait = static_cast<RangeWait*>(parameter);
  OVERLAPPED position = at_offset(wait->offset);
  const bool locked = LockFileEx(wait->file, wait->flags, 0, wait->length, 0, &position) != 0;
  if (InterlockedCompareExchange(&wait->state, locked ? wait_locked : wait_failed, wait_pending) == wait_abandoned) {
    // The run stopped waiting: a lock that came too late goes at once.
    if (locked) UnlockFileEx(wait->file, 0, wait->length, 0, &position);
    release(wait);
  }
  return 0;
}

}  // namespace

bool try_lock_range(HANDLE file, std::uint64_t offset, DWORD length, bool exclusive) {
  OVERLAPPED position = at_offset(offset);
  const DWORD flags = LOCKFILE_FAIL_IMMEDIATELY | (exclusive ? LOCKFILE_EXCLUSIVE_LOCK : 0);
  return LockFileEx(file, flags, 0, length, 0, &position) != 0;
}

bool lock_range_with_deadline(HANDLE file, std::uint64_t offset, DWORD length, bool exclusive, int timeout_ms) {
  if (try_lock_range(file, offset, length, exclusive)) return true;
  auto* wait = static_cast<RangeWait*>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(RangeWait)));
  if (wait == nullptr) return false;
  const HANDLE process = GetCurrentProcess();
  if (!DuplicateHandle(process, file, process, &wait->file, 0, FALSE, DUPLICATE_SAME_ACCESS)) {
    HeapFree(GetProcessHeap(), 0, wait);
    return false;
  }
  wait->offset = offset;
  wait->length = length;
  wait->flags = exclusive ? LOCKFILE_EXCLUSIVE_LOCK : 0;
  wait->state = wait_pending;
  const HANDLE thread = CreateThread(nullptr, 0, wait_for_range, wait, 0, nullptr);
  if (thread == nullptr) {
    release(wait);
    return false;
  }
  WaitForSingleObject(thread, timeout_ms > 0 ? static_cast<DWORD>(timeout_ms) : 0);
  CloseHandle(thread);
  const LONG outcome = InterlockedCompareExchange(&wait->state, wait_abandoned, wait_pending);
  if (outcome == wait_pending) return false;  // the thread cleans up behind itself
  // The lock belongs to the file, which the caller's handle keeps open.
  release(wait);
  return outcome == wait_locked;
}

void unlock_range(HANDLE file, std::uint64_t offset, DWORD length) {
  OVERLAPPED position = at_offset(offset);
  UnlockFileEx(file, 0, length, 0, &position);
}
