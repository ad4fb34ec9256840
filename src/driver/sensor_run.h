// The frame of every run: start-up, the order of its phases, and its end.
#pragma once

#include <string_view>

struct RunState;

/// The program's name and version as the console lines show them.
inline constexpr const char* program_name = "Quenmarel";
inline constexpr const char* program_version = "Vers 4.3 / 29.08.22";

/// Runs the sensor with the command line; ends the process.
[[noreturn]] void run_sensor(RunState& state, int argc, const char* const* argv);

/// Reads the time of start-up and builds the banner in `status_line`.
void start_up(RunState& state);

/// Puts the option text in force where writers honour an option: the
/// document's channel selection ("CH=") and trace lines (",SYSLOG").
void take_run_options(RunState& state);

/// Makes this run one of the sensors at work in the working directory, before
/// anything reaches the RFC library: from then on no other run takes this
/// one's trace text for its own or deletes it while this one may need it.
void join_runs_in_directory(RunState& state);

/// Prints the error document with `message` and ends the process with code 2.
[[noreturn]] void end_run_with_error(RunState& state, std::string_view message);
