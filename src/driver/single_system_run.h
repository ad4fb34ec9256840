// The default run: one profile, one system, one complete document.
#pragma once

struct RunState;

/// Reads the profile, measures its system, prints the document; ends the process.
[[noreturn]] void run_single_system(RunState& state);
