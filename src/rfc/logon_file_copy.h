// The per-destination logon file put in place as the library's "SapRfc.ini".
#pragma once

#include <cstdio>

#include "platform/file_lock.h"
#include "platform/files.h"

/// Copies an open per-destination logon file byte for byte into "SapRfc.ini"
/// and keeps other sensors in the same directory from replacing it while this
/// object lives.  The copy is written to a temporary file that replaces
/// "SapRfc.ini" in one step, so no reader ever sees half of it.
class LogonFileCopy {
 public:
  /// Takes `source` over and closes it.
  explicit LogonFileCopy(OwnedFile source);

  /// Whether "SapRfc.ini" now holds the copy.
  bool in_place() const { return in_place_; }

 private:
  FileLock lock_;
  bool in_place_ = false;
};
