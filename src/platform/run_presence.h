// Which runs are at work in one directory.
#pragma once

#include <cstdint>

/// This run's mark among the runs that share a presence file.  Every run that
/// talks to the RFC library holds it for its whole life, so that a run can
/// find out without waiting whether another one may be writing the library's
/// trace file beside it.  The marks are locks, which the operating system
/// drops when a process ends, however it ends.
class RunPresence {
 public:
  RunPresence() = default;
  ~RunPresence();
  RunPresence(const RunPresence&) = delete;
  RunPresence& operator=(const RunPresence&) = delete;

  /// Joins the runs that share the presence file `windows_path` (created if
  /// missing), waiting at most `timeout_ms` milliseconds while another run
  /// removes a file alone.  False when it could not join: such a run is never
  /// alone for itself, and the others cannot see it.
  bool join(const char* windows_path, int timeout_ms);

  /// Whether no other run has been at work since this one joined: none was at
  /// work then and none has joined since.  False when that is not certain.
  bool alone_since_joining() const;

  /// Removes the regular file `windows_path` only when no other run is at work
  /// now, keeping other runs from joining until it is done; false when it
  /// removed nothing.
  bool remove_file_while_alone(const char* windows_path);

 private:
  /// Whether another run holds its mark now; true when that cannot be found out.
  bool others_present() const;
  /// Whether the stamp in the file is still this run's, so that nobody joined since.
  bool stamp_unchanged() const;

  // A file descriptor on POSIX, a HANDLE on Windows.
  long long handle_ = -1;
  // What this run wrote into the presence file when it joined; whoever joins
  // later writes their own.
  std::uint64_t stamp_ = 0;
  bool alone_at_joining_ = false;
  // Windows: the byte this run holds among the others' bytes.
  [[maybe_unused]] unsigned slot_ = 0;
};
