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

/// Reads every line of an open profile, in pieces of `piece_length`
/// characters, into `entry` and `findings` and tells `on_line` the number
/// (each piece counted as a line) and outcome of each; the sensor's runs and
/// the profile tool read profiles alike through it.
template <typename OnLine>
void read_profile_lines(std::FILE* file, std::size_t piece_length, SystemEntry& entry, ProfileFindings& findings,
                        OnLine on_line) {
  LineReader reader(file);
  BoundedText<listed_run_line_piece> line;
  for (unsigned number = 1; reader.read(line, piece_length); ++number)
    on_line(number, read_profile_line(line.view(), entry, findings));
}

/// Reads the profile of a single-system run into `entry` and closes it;
/// refuses it for its first defect (errors 1003 to 1007).
ConfigStatus read_profile(OwnedFile profile, std::string_view profile_file_name, SystemEntry& entry);

/// Reads a listed profile into `entry` and closes it; returns whether it was
/// complete and its password sound.  Fields it does not give keep their values.
bool read_listed_profile(OwnedFile profile, SystemEntry& entry);
