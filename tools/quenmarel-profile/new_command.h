// "quenmarel-profile new": a complete profile in the sensor's column layout.
#pragma once

/// What "new --help" prints.
extern const char* const new_usage;

/// Runs the command with the arguments after its name; returns the exit code.
int run_new(int argc, const char* const* argv);
