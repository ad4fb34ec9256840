// Opening and reading a system profile.
#pragma once

#include <cstddef>
#include <cstdio>

struct RunState;

enum class ProfileReadMode { Single, Listed };

/// Longest piece of a line a single-system run reads; longer lines come in pieces.
inline constexpr std::size_t single_run_line_piece = 99;

/// Longest piece of a line an item-mode run reads.
inline constexpr std::size_t listed_run_line_piece = 199;

/// Finds and opens the profile into `profile_file`; error 1002 when missing.
void open_profile(RunState& state);

/// Reads a profile into `system_entry` and closes the file.  Single mode ends
/// the run at the first defect; listed mode clears `entry_valid` instead.
void read_profile(RunState& state, std::FILE* file, ProfileReadMode mode);
