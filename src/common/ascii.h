// Character tests and comparisons on plain ASCII, the same in every locale.
#pragma once

#include <string_view>

/// Turns the letters a to z of one character into A to Z, nothing else.
inline char ascii_upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

/// Whether a character is one of the digits 0 to 9.
inline bool is_ascii_digit(char c) { return c >= '0' && c <= '9'; }

/// Whether a character lies between blank and tilde, the characters any text editor keeps.
inline bool is_printable(char c) { return c >= 0x20 && c <= 0x7E; }

/// Whether `text` begins with `prefix` when the letters a to z of both count as A to Z.
inline bool starts_with_ignoring_case(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i)
    if (ascii_upper(text[i]) != ascii_upper(prefix[i])) return false;
  return true;
}

/// Whether two texts are equal when the letters a to z of both count as A to Z.
inline bool equals_ignoring_case(std::string_view text, std::string_view other) {
  return text.size() == other.size() && starts_with_ignoring_case(text, other);
}
