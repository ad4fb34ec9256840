// The status lines a person at a console sees around the result document.
#pragma once

#include <cstdio>
#include <string_view>

#include "common/bounded_text.h"
#include "config/system_entry.h"
#include "platform/process.h"

/// Console lines are for people; a line longer than this is cut.
inline constexpr std::size_t console_line_capacity = 255;

/// One console line.
using ConsoleLine = BoundedText<console_line_capacity>;

/// Prints a text followed by one line feed.
void print_line(std::FILE* out, std::string_view text);

/// Builds "* NOW NAME, HOST, DESTINATION, SYSNR, CLIENT" for a system in
/// `status_line`, a SAProuter route in the host without its passwords.
void build_system_status_line(TextBuffer& status_line, const TimeOfDay& now, const TextBuffer& name,
                              const SystemEntry& entry);

/// The option text as a console line may show it: a route in a host
/// override without its passwords.
ConsoleLine shown_option_text(std::string_view options);

/// Prints the closing line "\n* NOW SAP Quenmarel now processed...".
void print_processed_line(std::FILE* out);
