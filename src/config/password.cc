#include "config/password.h"

#include "common/ascii.h"

// Every key byte lies in 0x01..0x1F.  XOR with such a byte keeps a character
// inside its block of 32, so the header's digits stay printable, and of the
// printable characters exactly one (0x7F ^ byte, one of "`a-z{|}~") turns
// into DEL at each body position; the profile tool steers round it with its
// choice of offset.  Any ten bytes in a row are different, so one character
// of a password spoils at most one offset, and no password of fewer than ten
// characters is ever refused.  The rarely typed "`{|}~" are used as often as
// that allows, which keeps the letters' share of the spoiling small.
const unsigned char password_key[password_key_length] = {
    0x11, 0x0D, 0x07, 0x0C, 0x05, 0x03, 0x18, 0x1F, 0x04, 0x02, 0x01, 0x1C, 0x0A, 0x0F, 0x08, 0x0B,
    0x03, 0x06, 0x1F, 0x04, 0x02, 0x01, 0x1D, 0x07, 0x09, 0x1B, 0x03, 0x0D, 0x1F, 0x1C, 0x01, 0x17,
};

namespace {

bool is_ascii_letter_or_digit(unsigned char c) {
  return is_ascii_digit(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

unsigned char keyed(char stored, std::size_t key_position) {
  return static_cast<unsigned char>(static_cast<unsigned char>(stored) ^ password_key[key_position]);
}

}  // namespace

std::size_t body_position(std::size_t position) {
  return position % 2 == 0 ? position / 2 : password_body_length - 1 - position / 2;
}

int password_check_digit(std::string_view reordered) {
  unsigned sum = 0;
  for (char c : reordered)
    if (is_ascii_letter_or_digit(static_cast<unsigned char>(c))) sum += static_cast<unsigned char>(c);
  return static_cast<int>(sum % 10);
}

PasswordOutcome descramble_password(std::string_view stored, TextBuffer& password) {
  password.clear();
  if (stored.size() != stored_password_length) return PasswordOutcome::FormatFailure;
  int digits[password_header_length];
  for (std::size_t i = 0; i < password_header_length; ++i) {
    const unsigned char c = keyed(stored[i], i);
    if (!is_ascii_digit(c)) return PasswordOutcome::FormatFailure;
    digits[i] = c - '0';
  }
  const std::size_t offset = static_cast<std::size_t>(digits[1]);
  const std::size_t length = static_cast<std::size_t>(digits[2] * 10 + digits[3]);

  char body[password_body_length];
  for (std::size_t i = 0; i < password_body_length; ++i)
    body[i] = static_cast<char>(keyed(stored[password_header_length + i], offset + i));
  BoundedText<password_body_length> reordered;
  for (std::size_t position = 0; position < password_body_length; ++position)
    reordered.append(body[body_position(position)]);

  if (password_check_digit(reordered.view()) != digits[0]) return PasswordOutcome::CheckFailure;
  password.assign(reordered.view().substr(0, length));
  return PasswordOutcome::Descrambled;
}
