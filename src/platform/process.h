// The process: its clock, its executable, its standard output and its end.
#pragma once

#include "common/bounded_text.h"

/// Writes the local time of day as "HH:MM:SS" into `out`.
void local_time_of_day(TextBuffer& out);

/// Writes the directory of the running executable, ending in the platform's
/// directory separator, into `out`; false when it cannot be found or does not fit.
bool executable_directory(TextBuffer& out);

/// Makes every line feed written to standard output the single byte 10.
void set_binary_standard_output();

/// Called with the exit code before the process ends; tests use it to observe
/// (and, by throwing, to stop) the end of a run.
using ProcessExitObserver = void (*)(int exit_code);

/// Installs an observer of exit_process; null removes it.
void set_process_exit_observer(ProcessExitObserver observer);

/// Flushes standard output and ends the process with `exit_code`.  Every path
/// that ends a run goes through here.
[[noreturn]] void exit_process(int exit_code);
