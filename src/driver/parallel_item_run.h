// Measuring the listed systems of an item-mode run several at a time, each in
// a child process, and printing what each gave in the listing's order: the
// bytes are those of measuring them one after another.
#pragma once

#include "platform/child_process.h"

struct RunState;

/// The exit codes by which a child ends its run, whatever the target: its RFC
/// library reported an error through its handler (the child printed the
/// report), or cannot be used (the child printed the error document).  The run
/// ends with its target's code for each.  No other ending of a child gives
/// either: a child that could not do its work ends with 2, a run whose output
/// was lost with its target's code for that, which is never 1.
inline constexpr int rfc_error_child_exit_code = 1;
inline constexpr int library_unusable_child_exit_code = 4;

/// How many children at most, and how long each may take.
struct ParallelLimits {
  unsigned children;
  long long deadline_ms;
};

/// How the measurement of the listing ended.
struct ParallelEnd {
  /// False when a system ended the run, as the RFC error handler does.
  bool reached_summary = true;
  /// The exit code of the system that ended the run.
  int exit_code = 0;
};

/// Takes every name of the listing in order, reads its profile, has a child
/// started with `command` measure it, and prints each system's output, channel
/// and state line once all before it are printed.  A child whose RFC error
/// handler ended it ends the run there: its output is printed, no later system
/// is, and the target's code of an RFC error is returned; so does one whose
/// library cannot be used, with the target's code of a numbered error.  A child that ends
/// without a result, or passes its deadline, counts as failed.  A child that
/// cannot be started waits for a running one to end; with none running, the
/// run measures that system itself.  No child outlives the call, nor any logon
/// file copy of a child it ended.
ParallelEnd measure_listed_systems_in_parallel(RunState& state, const ParallelLimits& limits,
                                               const ChildCommand& command);
