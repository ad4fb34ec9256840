// "quenmarel-profile scramble": the stored form of a password.
#pragma once

/// What "scramble --help" prints.
extern const char* const scramble_usage;

/// Runs the command with the arguments after its name; returns the exit code.
int run_scramble(int argc, const char* const* argv);
