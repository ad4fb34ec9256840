// The installation's output target, from the file "quenmarel.target" beside the executable.
#pragma once

struct RunState;

/// Sets `output_target` from the target file.  No file means "EXEXML"; a file
/// whose first line names no target ends the run (error 1008).
void fix_output_target(RunState& state);
