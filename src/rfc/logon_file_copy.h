// The per-destination logon file put where the library reads it.
#pragma once

#include <cstdio>

#include "common/bounded_text.h"

/// Why a copy was not made, for the administrator: "SapRfc.ini.lock held by
/// another process for 20 s", "SapRfc.ini is not a regular file", ...
using LogonCopyFailure = BoundedText<255>;

/// Copies the open per-destination logon file `source`, from where it stands,
/// byte for byte into "SapRfc.ini", replacing that in one step so that no
/// reader ever sees half of it, granting nobody more than `source` does.
/// Other sensors in the directory take turns for the copy alone.  False, saying why in `failure`, when "SapRfc.ini"
/// does not hold the copy.
bool refresh_shared_logon_file(std::FILE* source, TextBuffer& failure);

/// Removes what a run's child with process number `process_id` may have left
/// when it was ended before its own end: its own copy, and a shared copy it
/// was writing.
void remove_logon_file_copies_of(unsigned long process_id);

/// Points RFC_INI at this run's own copy of a logon file, under the name
/// OwnLogonFile writes it by, before the copy exists: a library that copies
/// the environment when it is loaded reads nothing set after that.  When the
/// variable cannot be set, the copy's rewrite finds out.
void point_library_at_own_logon_file();

/// This run's own copy of a destination's logon file, which the library reads
/// through RFC_INI, so that no other run can change it while the library opens
/// the connection.  The file is removed when the object goes.
class OwnLogonFile {
 public:
  OwnLogonFile() = default;
  ~OwnLogonFile();
  OwnLogonFile(const OwnLogonFile&) = delete;
  OwnLogonFile& operator=(const OwnLogonFile&) = delete;

  /// Writes the file anew, under the same name every time, with the bytes of
  /// `source` from where it stands, for this account alone and nobody `source`
  /// does not let read, and points RFC_INI at it; false when the
  /// library would not read the copy, saying why in `failure`.
  bool rewrite(std::FILE* source, TextBuffer& failure);

 private:
  /// "SapRfc-" and the process number, then ".ini"; empty until first written.
  BoundedText<31> name_;
};
