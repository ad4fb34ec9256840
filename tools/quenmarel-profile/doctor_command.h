// "quenmarel-profile doctor": why a sensor installation cannot start or
// measure, and what to do.
#pragma once

/// What "doctor --help" prints.
extern const char* const doctor_usage;

/// Runs the command with the arguments after its name; returns the exit code.
int run_doctor(int argc, const char* const* argv);
