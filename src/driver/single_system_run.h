// The default run: one profile, one system, one complete document.
#pragma once

#include "platform/files.h"

struct RunState;

/// Reads the open profile, measures its system, prints the document; ends the process.
[[noreturn]] void run_single_system(RunState& state, OwnedFile profile);
