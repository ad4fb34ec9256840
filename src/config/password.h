// The stored (scrambled) form of a profile's password and its de-scrambling.
//
// A stored password is empty or exactly 24 characters: a header of four
// characters that de-key to digits (check digit, key offset, two length digits)
// and a body of 20 characters keyed from the offset on and laid out from the
// outside in.  The scrambling is obfuscation, not encryption: it keeps the
// password from being read at a glance, nothing more.
#pragma once

#include <cstddef>
#include <string_view>

#include "common/bounded_text.h"

/// Characters of a non-empty stored password.
inline constexpr std::size_t stored_password_length = 24;

/// Characters of the header and of the body of a stored password.
inline constexpr std::size_t password_header_length = 4;
inline constexpr std::size_t password_body_length = 20;

/// Highest key offset the header can name.
inline constexpr std::size_t highest_key_offset = 9;

/// Number of bytes in the password key.
inline constexpr std::size_t password_key_length = 32;

/// The sensor's own key; every tool that writes profiles scrambles with it.
extern const unsigned char password_key[password_key_length];

/// How de-scrambling a stored password ended.
enum class PasswordOutcome {
  Descrambled,
  /// Not 24 characters, or a header that does not de-key to four digits.
  FormatFailure,
  /// The check digit does not match the body.
  CheckFailure,
};

/// De-scrambles a non-empty stored password into `password` (at most 20
/// characters).  On failure `password` is left empty.
PasswordOutcome descramble_password(std::string_view stored, TextBuffer& password);

/// The check digit of a de-keyed, reordered 20-character text: the sum of the
/// codes of its ASCII letters and digits, modulo 10.
int password_check_digit(std::string_view reordered);

/// The body position whose character becomes the reordered text's character
/// at `position` (0, 19, 1, 18, ... 9, 10 for positions 0 to 19).
std::size_t body_position(std::size_t position);
