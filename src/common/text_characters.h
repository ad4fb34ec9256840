// The characters of texts whose encoding nobody promises.
//
// Texts reach the sensor from profiles, listings and the RFC library: a
// Unicode system sends UTF-8, a non-Unicode one Latin-1, and a hostile one any
// bytes.  A text is read as UTF-8 where its bytes form UTF-8, and every other
// byte as the one Latin-1 character of that value, so that every byte belongs
// to exactly one character and nothing is ever dropped.
#pragma once

#include <cstddef>
#include <string_view>

#include "common/bounded_text.h"

/// One character at the start of a text.
struct TextCharacter {
  /// Its Unicode code point.
  char32_t code_point = 0;
  /// Its bytes in the text: 1 to 4 for UTF-8, 1 for a Latin-1 byte.
  std::size_t length = 0;
  /// Whether its bytes are UTF-8 (ASCII included); false for a Latin-1 byte.
  bool utf8 = true;
};

/// The first character of a non-empty text: a well-formed UTF-8 sequence
/// (no overlong form, no surrogate, nothing above U+10FFFF), or else its
/// first byte as a Latin-1 character.
TextCharacter first_character(std::string_view text);

/// Whether a code point is a control character: U+0000 to U+001F, U+007F and
/// U+0080 to U+009F.  Line feed, carriage return and tab count among them.
inline bool is_control_character(char32_t code_point) {
  return code_point < 0x20 || (code_point >= 0x7F && code_point <= 0x9F);
}

/// What takes the place of a character a text may not carry where it is
/// printed: a blank, which keeps the words of a multi-line text apart and is
/// the same byte in every encoding a reader may assume.
inline constexpr char replacement_character = ' ';

/// Appends `text`, each character for which `replacement` gives a byte other
/// than NUL written as that byte, every other character as it stands.  Leaves
/// at least `keep_free` characters of room: what does not fit is cut before
/// the first character that does not fit whole, so that no UTF-8 sequence is
/// split.  Returns false when cut.
bool append_replacing(TextBuffer& out, std::string_view text, char (*replacement)(char32_t code_point),
                      std::size_t keep_free = 0);

/// The bytes that show the first character of a non-empty `text` on one
/// line: its own, or the replacement character for a control character.
/// Sets `length` to the character's length in `text`.
std::string_view shown_on_one_line(std::string_view text, std::size_t& length);

/// Appends `text` as a part of one line: every control character becomes
/// the replacement character, every other byte stays as it is.  What does not
/// fit is cut before the first character that does not fit whole, so that no
/// UTF-8 sequence is split.  Returns false when cut.
bool append_single_line(TextBuffer& out, std::string_view text);
