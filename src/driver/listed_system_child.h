// The sensor started by an item-mode run to measure one listed system in a
// process of its own.
#pragma once

struct RunState;

/// Runs this process as a run's child: takes the request from standard input,
/// measures the system, prints what the measurement prints and then the
/// result; returns exit code 0 or library_unusable_child_exit_code, or ends
/// with rfc_error_child_exit_code in the RFC error handler.
int run_listed_system_child(RunState& state, int argc, const char* const* argv);
