// The installation's output target, from the file "quenmarel.target" beside the executable.
#pragma once

#include <cstdio>

#include "common/bounded_text.h"
#include "output/output_target.h"

/// Sets `target` from the target file, or to "EXEXML" when there is none.
/// Returns false, with the message of error 1008 in `message`, when the
/// file's first line names no target.
[[nodiscard]] bool fix_output_target(OutputTarget& target, TextBuffer& message);

/// Sets `target` from the whole first line of an open target file, trailing
/// blanks and carriage returns ignored; false when the line names no target.
bool output_target_from_file(std::FILE* file, OutputTarget& target);
