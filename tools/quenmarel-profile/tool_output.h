// How the profile tool talks to its user.
#pragma once

#include <string>
#include <string_view>

/// Exit code of every refusal and every wrong use.
inline constexpr int tool_failure = 2;

/// `text` as the tool may show it: a SAProuter route in it without its passwords.
std::string without_route_passwords(std::string_view text);

/// Prints a text on standard output as it is.
void print_text(const char* text);

/// `text` as one line of the tool's output: every control character (line
/// feed, tab and escape included) replaced as on the sensor's console lines,
/// so that no name or value a file holds can break a line or forge one.
std::string single_line(std::string_view text);

/// Prints one line on standard output, as single_line shows it.
void print_line(const std::string& line);

/// Prints one line on standard error, prefixed with the tool's name, as single_line shows it.
void print_error(const std::string& line);

/// Whether a command-line word is an option: "--" and its name.
bool is_option(const char* word);

/// Prints the problem (as print_error does) and `usage` on standard error; returns tool_failure.
int refuse_usage(const std::string& problem, const char* usage);
