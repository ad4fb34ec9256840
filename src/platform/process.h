// The process: its clock, its executable, its standard output and its end.
#pragma once

#include "common/bounded_text.h"

/// A local time of day, "HH:MM:SS".
using TimeOfDay = BoundedText<8>;

/// Writes the local time of day into `out`.
void local_time_of_day(TimeOfDay& out);

/// Writes the directory of the running executable, ending in the platform's
/// directory separator, into `out`; false when it cannot be found or does not fit.
bool executable_directory(TextBuffer& out);

/// Makes every line feed written to standard output the single byte 10.
void set_binary_standard_output();

/// Flushes standard output and ends the process with `exit_code`.  Every path
/// that ends a run goes through here.
[[noreturn]] void exit_process(int exit_code);
