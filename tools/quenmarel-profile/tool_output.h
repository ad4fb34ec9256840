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

/// Prints one line on standard output.
void print_line(const std::string& line);

/// Prints one line on standard error, prefixed with the tool's name.
void print_error(const std::string& line);

/// Prints the problem (as print_error does) and `usage` on standard error; returns tool_failure.
int refuse_usage(const std::string& problem, const char* usage);
