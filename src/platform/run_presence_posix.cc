#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>

#include "platform/clock.h"
#include "platform/deadline_wait_posix.h"
#include "platform/files.h"
#include "platform/native_path_posix.h"
#include "platform/run_presence.h"

namespace {

// The presence file: the stamp of the run that joined last, then one byte on
// which every run holds a shared lock, then one that a run holds while it
// removes a file alone.  fcntl locks belong to the process, so a probe never
// sees the run's own.
constexpr off_t stamp_offset = 0;
constexpr off_t presence_byte = 16;
constexpr off_t gate_byte = 17;

struct flock one_byte(short type, off_t at) {
  struct flock lock {};
  lock.l_type = type;
  lock.l_whence = SEEK_SET;
  lock.l_start = at;
  lock.l_len = 1;
  return lock;
}

bool set_lock(int descriptor, short type, off_t at) {
  struct flock lock = one_byte(type, at);
  return fcntl(descriptor, F_SETLK, &lock) == 0;
}

int wait_for_the_gate(void* descriptor) {
  struct flock lock = one_byte(F_RDLCK, gate_byte);
  return fcntl(*static_cast<int*>(descriptor), F_SETLKW, &lock);
}

bool is_regular(int descriptor) {
  struct stat status;
  return fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode);
}

// The process number, which no other process has while this one lives, and
// the clock's low bits.
std::uint64_t new_stamp() {
  return static_cast<std::uint64_t>(getpid()) << 32 | static_cast<std::uint32_t>(monotonic_ms());
}

}  // namespace

RunPresence::~RunPresence() {
  if (handle_ >= 0) close(static_cast<int>(handle_));
}

bool RunPresence::join(const char* windows_path, int timeout_ms) {
  NativePath native;
  if (handle_ >= 0 || !to_native_path(windows_path, native)) return false;
  int descriptor = open(native.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666);
  if (descriptor < 0) return false;
  if (!is_regular(descriptor) || !set_lock(descriptor, F_RDLCK, presence_byte)) {
    close(descriptor);
    return false;
  }
  handle_ = descriptor;
  // A run that removes a file alone holds the gate.  Once it is free again,
  // that removal is over, and every later one sees this run.
  const bool gate_passed =
      set_lock(descriptor, F_RDLCK, gate_byte) || wait_with_deadline(wait_for_the_gate, &descriptor, timeout_ms);
  if (gate_passed) set_lock(descriptor, F_UNLCK, gate_byte);
  stamp_ = new_stamp();
  const bool stamped = pwrite(descriptor, &stamp_, sizeof stamp_, stamp_offset) == sizeof stamp_;
  alone_at_joining_ = gate_passed && stamped && !others_present();
  return true;
}

bool RunPresence::others_present() const {
  struct flock probe = one_byte(F_WRLCK, presence_byte);
  return fcntl(static_cast<int>(handle_), F_GETLK, &probe) != 0 || probe.l_type != F_UNLCK;
}

bool RunPresence::stamp_unchanged() const {
  std::uint64_t stamp = 0;
  return pread(static_cast<int>(handle_), &stamp, sizeof stamp, stamp_offset) == sizeof stamp && stamp == stamp_;
}

bool RunPresence::alone_since_joining() const { return handle_ >= 0 && alone_at_joining_ && stamp_unchanged(); }

bool RunPresence::remove_file_while_alone(const char* windows_path) {
  const int descriptor = static_cast<int>(handle_);
  if (descriptor < 0 || !set_lock(descriptor, F_WRLCK, gate_byte)) return false;
  const bool removed = !others_present() && remove_regular_file(windows_path);
  set_lock(descriptor, F_UNLCK, gate_byte);
  return removed;
}
