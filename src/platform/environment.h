// The process's number and the environment the libraries it loaded read.
#pragma once

/// The operating system's number of this process, which no other process has
/// while it lives.
unsigned long current_process_id();

/// Sets the environment variable `name` to `value` for this process and every
/// library it loaded; false when it could not be set.
bool set_environment_variable(const char* name, const char* value);
