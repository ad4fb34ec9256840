// Opening and reading a system profile.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string_view>

#include "common/line_reader.h"
#include "config/config_status.h"
#include "config/profile_lines.h"
#include "config/profile_location.h"
#include "config/system_entry.h"
#include "platform/files.h"

/// Longest piece of a line a single-system run reads; longer lines come in pieces.
inline constexpr std::size_t single_run_line_piece = 99;

/// Longest piece of a line an item-mode run reads.
inline constexpr std::size_t listed_run_line_piece = 199;

/// Finds and opens the profile into `profile`, in the monitor's directories
/// when `search_monitor_directories`, else where its name says; sets
/// `profile_path`.  Refuses a profile found nowhere (error 1002).
ConfigStatus open_profile(ProfileLocation& location, bool search_monitor_directories, OwnedFile& profile);

/// Reads a profile into a system entry one line (or piece of a line) at a
/// time, so that the sensor and the profile tool judge a profile alike.
class ProfileReader {
 public:
  /// Reads `file` (not closed here) in pieces of `piece_length` characters into `entry`.
  ProfileReader(std::FILE* file, std::size_t piece_length, SystemEntry& entry);

  /// Reads the next line into the entry; false at the end of the file.
  bool next_line();
  /// What the line just read did.
  ProfileLineOutcome outcome() const { return outcome_; }
  /// The number of the line just read, each piece of a long line counted as a line.
  unsigned line_number() const { return line_number_; }
  const ProfileFindings& findings() const { return findings_; }
  /// The defect the sensor refuses the profile for, once every line is read.
  ProfileDefect verdict() const { return profile_verdict(entry_, findings_); }

 private:
  LineReader reader_;
  std::size_t piece_length_;
  SystemEntry& entry_;
  BoundedText<listed_run_line_piece> line_;
  ProfileFindings findings_;
  ProfileLineOutcome outcome_ = ProfileLineOutcome::Ignored;
  unsigned line_number_ = 0;
};

/// Reads the profile of a single-system run into `entry` and closes it;
/// refuses it for its first defect (errors 1003 to 1007).
ConfigStatus read_profile(OwnedFile profile, std::string_view profile_file_name, SystemEntry& entry);

/// Reads a listed profile into `entry` and closes it; returns whether it was
/// complete and its password sound.  Fields it does not give keep their values.
bool read_listed_profile(OwnedFile profile, SystemEntry& entry);
