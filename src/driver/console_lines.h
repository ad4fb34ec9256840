// The status lines a person at a console sees around the result document.
#pragma once

#include <string_view>

#include "common/bounded_text.h"

struct RunState;

/// Console lines are for people; a line longer than this is cut.
using ConsoleLine = BoundedText<255>;

/// Prints a text followed by one line feed.
void print_line(RunState& state, std::string_view text);

/// Builds "* NOW NAME, HOST, DESTINATION, SYSNR, CLIENT" for the current system in `status_line`.
void build_system_status_line(RunState& state, const TextBuffer& name, const TextBuffer& now);

/// Prints the closing line "\n* NOW SAP Quenmarel now processed...".
void print_processed_line(RunState& state);
