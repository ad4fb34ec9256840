// The password, read from standard input so that no other user can see it in
// the list of processes.
#pragma once

#include <cstddef>
#include <string>

/// Reads one line from standard input (line feed or carriage return and line
/// feed removed; at a terminal after the prompt "Password: " on standard
/// error, and without showing what is typed) and checks that it is a password
/// of `shortest` to 20 printable characters.  On failure prints why and
/// returns false.
bool read_password(std::size_t shortest, std::string& password);

/// Writes the 24-character stored form of a password read by read_password
/// into `stored`.  On failure (no key offset fits it) prints why and returns false.
bool scramble_for_profile(const std::string& password, std::string& stored);
