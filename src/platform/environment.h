// The process's number and the environment the libraries it loaded read.
#pragma once

#include "common/bounded_text.h"

/// The operating system's number of this process, which no other process has
/// while it lives.
unsigned long current_process_id();

/// Sets the environment variable `name` to `value` for this process and every
/// library it loaded; false when it could not be set.
bool set_environment_variable(const char* name, const char* value);

/// Writes the value of the environment variable `name` as the operating
/// system keeps it for the process (on Windows its environment block, not a
/// C runtime's copy); false when it is not set or does not fit.
bool environment_variable(const char* name, TextBuffer& value);
