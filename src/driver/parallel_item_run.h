// Measuring the listed systems of an item-mode run several at a time, each in
// a child process, and printing what each gave in the listing's order: the
// bytes are those of measuring them one after another.
#pragma once

#include "platform/child_process.h"

struct RunState;

/// The exit code of a child whose RFC library cannot be used: it printed the
/// error document, which ends the run with the code of a numbered error.
inline constexpr int library_unusable_child_exit_code = 3;

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
/// and state line once all before it are printed.  A child that ends with
/// code 1 (the RFC error handler) ends the run there: its output is printed,
/// no later system is, and its code is returned; so does one whose library
/// cannot be used, with the code of a numbered error.  A child that ends
/// without a result, or passes its deadline, counts as failed.  A child that
/// cannot be started waits for a running one to end; with none running, the
/// run measures that system itself.  No child outlives the call, nor any logon
/// file copy of a child it ended.
ParallelEnd measure_listed_systems_in_parallel(RunState& state, const ParallelLimits& limits,
                                               const ChildCommand& command);
