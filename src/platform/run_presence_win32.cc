#include <windows.h>

#include <cstdint>

#include "platform/clock.h"
#include "platform/files.h"
#include "platform/range_lock_win32.h"
#include "platform/run_presence.h"

namespace {

// The presence file: the stamp of the run that joined last, a byte that a
// run holds while it removes a file alone, and one byte per run.  Windows
// locks are held per handle, and a handle's own lock stands in the way of
// every other lock on its bytes, even in the same process; so each run holds
// a byte of its own exclusively, and a probe looks at the bytes around it.
constexpr DWORD stamp_offset = 0;
constexpr DWORD gate_byte = 16;
constexpr DWORD first_slot = 64;
constexpr DWORD slot_count = 4096;
// A probe of another run holds the bytes around its own for a moment, so a
// run that finds no free byte looks once more before it gives up.
constexpr int slot_searches = 3;

HANDLE file_of(long long handle) { return reinterpret_cast<HANDLE>(handle); }

bool take_a_slot(HANDLE file, unsigned* slot) {
  const DWORD start = GetCurrentProcessId() % slot_count;
  for (int search = 0; search < slot_searches; ++search)
    for (DWORD step = 0; step < slot_count; ++step) {
      const DWORD candidate = (start + step) % slot_count;
      if (try_lock_range(file, first_slot + candidate, 1, true)) {
        *slot = candidate;
        return true;
      }
    }
  return false;
}

// Whether the bytes [first, first + count) are free of other runs' locks;
// the probe's shared lock goes again at once.
bool range_free(HANDLE file, DWORD first, DWORD count) {
  if (count == 0) return true;
  if (!try_lock_range(file, first, count, false)) return false;
  unlock_range(file, first, count);
  return true;
}

bool write_at(HANDLE file, DWORD offset, const void* bytes, DWORD count) {
  OVERLAPPED position{};
  position.Offset = offset;
  DWORD written = 0;
  return WriteFile(file, bytes, count, &written, &position) != 0 && written == count;
}

bool read_at(HANDLE file, DWORD offset, void* bytes, DWORD count) {
  OVERLAPPED position{};
  position.Offset = offset;
  DWORD read = 0;
  return ReadFile(file, bytes, count, &read, &position) != 0 && read == count;
}

// The process number, which no other process has while this one lives, and
// the clock's low bits.
std::uint64_t new_stamp() {
  return static_cast<std::uint64_t>(GetCurrentProcessId()) << 32 | static_cast<std::uint32_t>(monotonic_ms());
}

}  // namespace

RunPresence::~RunPresence() {
  if (handle_ != -1) CloseHandle(file_of(handle_));
}

bool RunPresence::join(const char* windows_path, int timeout_ms) {
  if (handle_ != -1) return false;
  HANDLE file = CreateFileA(windows_path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  if (!take_a_slot(file, &slot_)) {
    CloseHandle(file);
    return false;
  }
  handle_ = reinterpret_cast<long long>(file);
  // A run that removes a file alone holds the gate.  Once it is free again,
  // that removal is over, and every later one sees this run.
  const bool gate_passed = lock_range_with_deadline(file, gate_byte, 1, false, timeout_ms);
  if (gate_passed) unlock_range(file, gate_byte, 1);
  stamp_ = new_stamp();
  const bool stamped = write_at(file, stamp_offset, &stamp_, sizeof stamp_);
  alone_at_joining_ = gate_passed && stamped && !others_present();
  return true;
}

bool RunPresence::others_present() const {
  const HANDLE file = file_of(handle_);
  return !range_free(file, first_slot, slot_) || !range_free(file, first_slot + slot_ + 1, slot_count - slot_ - 1);
}

bool RunPresence::stamp_unchanged() const {
  std::uint64_t stamp = 0;
  return read_at(file_of(handle_), stamp_offset, &stamp, sizeof stamp) && stamp == stamp_;
}

bool RunPresence::alone_since_joining() const { return handle_ != -1 && alone_at_joining_ && stamp_unchanged(); }

bool RunPresence::remove_file_while_alone(const char* windows_path) {
  if (handle_ == -1) return false;
  const HANDLE file = file_of(handle_);
  if (!try_lock_range(file, gate_byte, 1, true)) return false;
  const bool removed = !others_present() && remove_regular_file(windows_path);
  unlock_range(file, gate_byte, 1);
  return removed;
}
