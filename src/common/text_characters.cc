#include "common/text_characters.h"

namespace {

bool is_continuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// The range the second byte of a sequence must lie in: narrower than a plain
// continuation after E0 and F0 (no overlong forms), ED (no surrogates) and F4
// (nothing above U+10FFFF).
bool second_byte_fits(unsigned char lead, unsigned char second) {
  switch (lead) {
    case 0xE0:
      return second >= 0xA0 && second <= 0xBF;
    case 0xED:
      return second >= 0x80 && second <= 0x9F;
    case 0xF0:
      return second >= 0x90 && second <= 0xBF;
    case 0xF4:
      return second >= 0x80 && second <= 0x8F;
    default:
      return is_continuation(second);
  }
}

// Bytes of the sequence a lead byte starts; 0 for a byte that starts none
// (a continuation, C0 and C1, which could only start overlong forms, and F5 to FF).
std::size_t sequence_length(unsigned char lead) {
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 0;
}

TextCharacter latin1_character(unsigned char byte) {
  TextCharacter character;
  character.code_point = byte;
  character.length = 1;
  character.utf8 = byte < 0x80;
  return character;
}

}  // namespace

TextCharacter first_character(std::string_view text) {
  const unsigned char lead = static_cast<unsigned char>(text[0]);
  const std::size_t length = sequence_length(lead);
  if (length == 0 || text.size() < length) return latin1_character(lead);
  if (!second_byte_fits(lead, static_cast<unsigned char>(text[1]))) return latin1_character(lead);
  for (std::size_t i = 2; i < length; ++i)
    if (!is_continuation(static_cast<unsigned char>(text[i]))) return latin1_character(lead);

  static constexpr unsigned char lead_payload[] = {0, 0, 0x1F, 0x0F, 0x07};
  TextCharacter character;
  character.code_point = lead & lead_payload[length];
  for (std::size_t i = 1; i < length; ++i)
    character.code_point = (character.code_point << 6) | (static_cast<unsigned char>(text[i]) & 0x3F);
  character.length = length;
  return character;
}

std::string_view shown_on_one_line(std::string_view text, std::size_t& length) {
  const TextCharacter character = first_character(text);
  length = character.length;
  if (is_control_character(character.code_point)) return std::string_view(&replacement_character, 1);
  return text.substr(0, character.length);
}

bool append_replacing(TextBuffer& out, std::string_view text, char (*replacement)(char32_t), std::size_t keep_free) {
  while (!text.empty()) {
    const TextCharacter character = first_character(text);
    const char replaced = replacement(character.code_point);
    if (out.room() < keep_free + (replaced != '\0' ? 1 : character.length)) return false;
    if (replaced != '\0')
      out.append(replaced);
    else
      out.append(text.substr(0, character.length));
    text.remove_prefix(character.length);
  }
  return true;
}

bool append_single_line(TextBuffer& out, std::string_view text) {
  return append_replacing(
      out, text, [](char32_t code_point) { return is_control_character(code_point) ? replacement_character : '\0'; });
}
