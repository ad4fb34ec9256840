// The installation's output target, from the file "quenmarel.target" beside the executable.
#pragma once

#include "common/bounded_text.h"
#include "output/output_target.h"

/// Sets `target` from the target file, or to "EXEXML" when there is none.
/// Returns false, with the message of error 1008 in `message`, when the
/// file's first line names no target.
[[nodiscard]] bool fix_output_target(OutputTarget& target, TextBuffer& message);
