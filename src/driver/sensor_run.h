// The frame of every run: start-up, the order of its phases, and the choice
// of its mode.  The one file that knows every mode.
#pragma once

struct RunState;

/// Runs the sensor with the command line; returns the exit code the process ends with.
int run_sensor(RunState& state, int argc, const char* const* argv);
