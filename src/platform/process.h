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

/// Makes every line feed written to standard output and standard error the
/// single byte 10, and leaves none of the three standard streams closed, so
/// that no file the program opens takes the place of one.  `program_name`
/// opens the line exit_process may write on standard error.
void prepare_standard_streams(const char* program_name);

/// The platform's part of prepare_standard_streams: line feeds and closed streams.
void prepare_standard_stream_handles();

/// Exit code of a successful run whose output could not be written completely.
inline constexpr int undelivered_exit_code = 2;

/// Flushes standard output and ends the process with `exit_code`.  When
/// standard output could not take everything written to it, it says so on
/// standard error and ends with `exit_code_if_undelivered` instead.  Every
/// path that ends a run goes through here.
[[noreturn]] void exit_process(int exit_code, int exit_code_if_undelivered);

/// The same for a program whose one success is 0: a success that was not
/// delivered ends with undelivered_exit_code, a failure keeps its own code.
[[noreturn]] inline void exit_process(int exit_code) {
  exit_process(exit_code, exit_code == 0 ? undelivered_exit_code : exit_code);
}
