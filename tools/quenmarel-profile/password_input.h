// The password, read from standard input so that no other user can see it in
// the list of processes.
#pragma once

#include <cstddef>
#include <string>

/// The rules every password is held to, as the usage texts of "new" and
/// "scramble" state them; a literal, so that both usages can include it.
#define QUENMAREL_PASSWORD_RULES                                                \
  "The password: 2 to 20 characters from blank to tilde, neither beginning\n"   \
  "nor ending with a blank, not enclosed in quotes.  cmd's echo keeps quotes\n" \
  "and the blank before |, so write  echo secret| quenmarel-profile ...\n"      \
  "there; in PowerShell  'secret' | quenmarel-profile ...\n"

/// Reads one line from standard input (line feed or carriage return and line
/// feed removed; at a terminal after the prompt "Password: " on standard
/// error, and without showing what is typed) and checks it against the
/// password rules.  On failure prints why and returns false.
bool read_password(std::string& password);

/// Writes the 24-character stored form of a password read by read_password
/// into `stored`.  On failure (no key offset fits it) prints why and returns false.
bool scramble_for_profile(const std::string& password, std::string& stored);
