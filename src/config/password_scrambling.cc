#include "config/password_scrambling.h"

#include <cstdint>

#include "common/ascii.h"
#include "config/password.h"

namespace {

constexpr std::string_view padding_characters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";

// A small deterministic generator, so that the same password always gets the
// same padding and the tool's output can be compared byte for byte.
class PaddingSource {
 public:
  explicit PaddingSource(std::string_view password) {
    std::uint32_t hash = 2166136261u;  // FNV-1a
    for (char c : password) hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
    state_ = hash == 0 ? 1u : hash;
  }
  std::uint32_t next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return state_;
  }

 private:
  std::uint32_t state_;
};

char stored_character(char plain, std::size_t key_position) {
  return static_cast<char>(static_cast<unsigned char>(plain) ^ password_key[key_position]);
}

// A stored character is safe when it is printable; the last one must also not
// be a blank, which editors like to strip.
bool stores_safely(char plain, std::size_t body_index, std::size_t offset) {
  const char stored = stored_character(plain, offset + body_index);
  if (!is_printable(stored)) return false;
  return body_index != password_body_length - 1 || stored != ' ';
}

// At most two padding characters are unsafe at any body position, so trying
// the following characters of the set always finds one.
char padding_for(std::size_t body_index, std::size_t offset, PaddingSource& source) {
  const std::size_t choice = source.next() % padding_characters.size();
  for (std::size_t tried = 0; tried < padding_characters.size(); ++tried) {
    const char candidate = padding_characters[(choice + tried) % padding_characters.size()];
    if (stores_safely(candidate, body_index, offset)) return candidate;
  }
  return padding_characters[choice];
}

bool password_fits_offset(std::string_view password, std::size_t offset) {
  for (std::size_t position = 0; position < password.size(); ++position)
    if (!stores_safely(password[position], body_position(position), offset)) return false;
  return true;
}

void scramble_at_offset(std::string_view password, std::size_t offset, PaddingSource& source, TextBuffer& stored) {
  BoundedText<password_body_length> text(password);
  while (text.size() < password_body_length) text.append(padding_for(body_position(text.size()), offset, source));

  char body[password_body_length];
  for (std::size_t position = 0; position < password_body_length; ++position)
    body[body_position(position)] = text[position];

  const int header[password_header_length] = {password_check_digit(text.view()), static_cast<int>(offset),
                                              static_cast<int>(password.size() / 10),
                                              static_cast<int>(password.size() % 10)};
  stored.clear();
  for (std::size_t i = 0; i < password_header_length; ++i)
    stored.append(stored_character(static_cast<char>('0' + header[i]), i));
  for (std::size_t i = 0; i < password_body_length; ++i) stored.append(stored_character(body[i], offset + i));
}

}  // namespace

bool is_editor_safe(std::string_view stored) {
  for (char c : stored)
    if (!is_printable(c)) return false;
  return stored.empty() || stored.back() != ' ';
}

ScrambleOutcome scramble_password(std::string_view password, TextBuffer& stored) {
  stored.clear();
  if (password.empty() || password.size() > longest_storable_password) return ScrambleOutcome::WrongLength;
  for (char c : password)
    if (!is_printable(c)) return ScrambleOutcome::NotPrintable;

  PaddingSource source(password);
  const std::size_t first_offset = source.next() % (highest_key_offset + 1);
  for (std::size_t tried = 0; tried <= highest_key_offset; ++tried) {
    const std::size_t offset = (first_offset + tried) % (highest_key_offset + 1);
    if (!password_fits_offset(password, offset)) continue;
    scramble_at_offset(password, offset, source, stored);
    if (is_editor_safe(stored.view())) return ScrambleOutcome::Scrambled;
  }
  stored.clear();
  return ScrambleOutcome::NoOffsetFits;
}
