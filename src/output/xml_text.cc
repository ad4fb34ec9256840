#include "output/xml_text.h"

#include "common/text_characters.h"

namespace {

struct XmlEntity {
  char character;
  std::string_view entity;
};

constexpr XmlEntity xml_entities[] = {{'&', "&amp;"}, {'<', "&lt;"}, {'>', "&gt;"}};

std::string_view escape_of(char32_t code_point) {
  for (const XmlEntity& escape : xml_entities)
    if (code_point == static_cast<unsigned char>(escape.character)) return escape.entity;
  return std::string_view();
}

bool is_forbidden_in_xml(char32_t code_point) {
  return is_control_character(code_point) || code_point == 0xFFFE || code_point == 0xFFFF;
}

// How one character is written: escaped, replaced, as it stands, or as the
// UTF-8 form of a Latin-1 byte (from U+00A0 on; the ones below are control
// characters), which is put into `latin1_bytes`.
std::string_view xml_form(const TextCharacter& character, std::string_view bytes, char (&latin1_bytes)[2]) {
  if (const std::string_view escaped = escape_of(character.code_point); !escaped.empty()) return escaped;
  if (is_forbidden_in_xml(character.code_point)) return std::string_view(&replacement_character, 1);
  if (character.utf8) return bytes.substr(0, character.length);
  latin1_bytes[0] = static_cast<char>(0xC0 | (character.code_point >> 6));
  latin1_bytes[1] = static_cast<char>(0x80 | (character.code_point & 0x3F));
  return std::string_view(latin1_bytes, sizeof latin1_bytes);
}

}  // namespace

bool append_xml_escaped(TextBuffer& out, std::string_view text, std::size_t keep_free) {
  char latin1_bytes[2];
  while (!text.empty()) {
    const TextCharacter character = first_character(text);
    const std::string_view written = xml_form(character, text, latin1_bytes);
    if (out.room() < keep_free + written.size()) return false;
    out.append(written);
    text.remove_prefix(character.length);
  }
  return true;
}

char xml_entity_at(std::string_view text, std::size_t& length) {
  for (const XmlEntity& escape : xml_entities) {
    if (text.substr(0, escape.entity.size()) != escape.entity) continue;
    length = escape.entity.size();
    return escape.character;
  }
  return '\0';
}
