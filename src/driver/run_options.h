// The option words of the command line as the run's option text.
#pragma once

struct RunState;

/// Sets `given_options` (argument 2, a blank and argument 3 when present),
/// `run_options` (its upper-case form) and `console_mode`.  Returns false,
/// leaving both texts empty, when the option text is longer than they hold.
bool assemble_run_options(RunState& state, int argc, const char* const* argv);

/// Replaces `run_options` by the upper-case form of `given_options`.
void refresh_run_options(RunState& state);
