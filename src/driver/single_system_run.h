// The default run: one profile, one system, one complete document.
#pragma once

#include "platform/files.h"

struct RunState;

/// Reads the open profile, measures its system, prints the document; returns
/// the exit code the run ends with.
int run_single_system(RunState& state, OwnedFile profile);
