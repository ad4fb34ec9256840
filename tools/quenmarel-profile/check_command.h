// "quenmarel-profile check": every defect the sensor would find in a profile.
#pragma once

/// What "check --help" prints.
extern const char* const check_usage;

/// Runs the command with the arguments after its name; returns the exit code.
int run_check(int argc, const char* const* argv);
