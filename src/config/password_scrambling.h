// Producing the stored form of a password: the inverse of descramble_password,
// for the tools that write profiles.  The sensor itself only de-scrambles.
#pragma once

#include <cstddef>
#include <string_view>

#include "common/bounded_text.h"
#include "config/password.h"

/// Longest password a profile can store: the whole body of the stored form.
inline constexpr std::size_t longest_storable_password = password_body_length;

/// How scrambling a password ended.
enum class ScrambleOutcome {
  Scrambled,
  /// The password is empty or longer than 20 characters.
  WrongLength,
  /// The password holds a character outside blank to tilde.
  NotPrintable,
  /// At every key offset some character of the password would be stored as
  /// DEL or the stored form would end in a blank.
  NoOffsetFits,
};

/// Writes the 24-character stored form of `password` into `stored`.  The
/// same password always gives the same stored form; the form is printable,
/// does not end in a blank and de-scrambles to exactly `password`.
ScrambleOutcome scramble_password(std::string_view password, TextBuffer& stored);

/// Whether a stored form survives any text editor: blank to tilde only, and
/// no blank at its end.
bool is_editor_safe(std::string_view stored);
