// One listed system of an item-mode run: its profile read, its measurement,
// and what is printed for it.  The run measures each system itself, or has a
// child process measure it (parallel_item_run.h); the steps are the same.
#pragma once

#include "calculation/page_roll_usage.h"
#include "common/bounded_text.h"
#include "config/profile_location.h"
#include "driver/console_lines.h"

struct RunState;

/// How one listed system ended; one whose profile was not opened counts only among the systems.
enum class ListedOutcome { NotOpened, Processed, Failed };

/// What the run knows of one listed system.
struct ListedSystem {
  ListedOutcome outcome = ListedOutcome::NotOpened;
  /// Whether its profile was complete and its password sound.
  bool entry_valid = false;
  /// The name of its channel, after the listing's key kind.
  BoundedText<profile_file_name_capacity> channel_key;
  /// Console mode: "* NOW NAME, HOST, DESTINATION, SYSNR, CLIENT" as of reading its profile.
  ConsoleLine status_line;
  /// Its values, once it was processed.
  PageRollUsage usage;
};

/// Opens the listed profile `name` and reads it into the run's system entry
/// (fields the profile does not give keep their values), names the system's
/// channel and builds its console line.  False, with nothing read, when the
/// profile cannot be opened.
bool read_listed_system(RunState& state, const TextBuffer& name, ListedSystem& system);

/// Connects to the system of the run's system entry (also when the entry is
/// invalid, which only skips the query), measures it and closes; sets the
/// outcome and the values.  Prints only what the connection prints itself.
void measure_listed_system(RunState& state, ListedSystem& system);

/// Prints the system's channel and, in console mode, its state line, and
/// counts it.  A system whose profile was not opened prints nothing.
void report_listed_system(RunState& state, const ListedSystem& system);
