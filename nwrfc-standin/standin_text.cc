#include "standin_text.h"

namespace {

constexpr char32_t first_surrogate = 0xD800;
constexpr char32_t first_low_surrogate = 0xDC00;
constexpr char32_t past_surrogates = 0xE000;
constexpr char32_t first_supplementary = 0x10000;
constexpr char32_t last_code_point = 0x10FFFF;

bool is_surrogate(char32_t unit) { return unit >= first_surrogate && unit < past_surrogates; }
bool is_low_surrogate(char32_t unit) { return unit >= first_low_surrogate && unit < past_surrogates; }
bool is_high_surrogate(char32_t unit) { return unit >= first_surrogate && unit < first_low_surrogate; }

/// A character read from UTF-8; a length of 0 says the bytes were no
/// well-formed sequence.
struct Utf8Character {
  char32_t code_point = 0;
  std::size_t length = 0;
};

Utf8Character decode_utf8_at(std::string_view text, std::size_t at) {
  const unsigned char lead = static_cast<unsigned char>(text[at]);
  if (lead < 0x80) return {lead, 1};
  Utf8Character read;
  if ((lead & 0xE0) == 0xC0) {
    read = {static_cast<char32_t>(lead & 0x1F), 2};
  } else if ((lead & 0xF0) == 0xE0) {
    read = {static_cast<char32_t>(lead & 0x0F), 3};
  } else if ((lead & 0xF8) == 0xF0) {
    read = {static_cast<char32_t>(lead & 0x07), 4};
  } else {
    return {};
  }
  if (text.size() - at < read.length) return {};
  for (std::size_t i = 1; i < read.length; ++i) {
    const unsigned char next = static_cast<unsigned char>(text[at + i]);
    if ((next & 0xC0) != 0x80) return {};
    read.code_point = (read.code_point << 6) | (next & 0x3F);
  }
  // The smallest code point each length may carry: a longer form is forged.
  static constexpr char32_t shortest[] = {0, 0, 0x80, 0x800, first_supplementary};
  if (read.code_point < shortest[read.length] || read.code_point > last_code_point || is_surrogate(read.code_point))
    return {};
  return read;
}

bool is_well_formed_utf8(std::string_view text) {
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t length = decode_utf8_at(text, at).length;
    if (length == 0) return false;
    at += length;
  }
  return true;
}

std::size_t encode_utf8(char32_t code_point, char (&bytes)[4]) {
  if (code_point < 0x80) {
    bytes[0] = static_cast<char>(code_point);
    return 1;
  }
  const std::size_t length = code_point < 0x800 ? 2 : code_point < first_supplementary ? 3 : 4;
  static constexpr unsigned char lead_marks[] = {0, 0, 0xC0, 0xE0, 0xF0};
  for (std::size_t i = length - 1; i > 0; --i) {
    bytes[i] = static_cast<char>(0x80 | (code_point & 0x3F));
    code_point >>= 6;
  }
  bytes[0] = static_cast<char>(lead_marks[length] | code_point);
  return length;
}

}  // namespace

bool read_utf16(const SAP_UC* units, std::size_t max_units, TextBuffer& out) {
  out.clear();
  std::size_t at = 0;
  while (at < max_units && units[at] != 0) {
    char32_t code_point = units[at++];
    if (is_high_surrogate(code_point) && at < max_units && is_low_surrogate(units[at]))
      code_point = first_supplementary + (((code_point - first_surrogate) << 10) | (units[at++] - first_low_surrogate));
    else if (is_surrogate(code_point))
      code_point = 0xFFFD;
    char bytes[4];
    if (!out.append_whole(std::string_view(bytes, encode_utf8(code_point, bytes)))) return false;
  }
  return true;
}

void write_utf16_field(std::string_view text, SAP_UC* field, std::size_t field_units) {
  const bool utf8 = is_well_formed_utf8(text);
  const std::size_t room = field_units - 1;
  std::size_t used = 0;
  for (std::size_t at = 0; at < text.size();) {
    Utf8Character read{static_cast<unsigned char>(text[at]), 1};
    if (utf8) read = decode_utf8_at(text, at);
    if (read.code_point < first_supplementary) {
      if (room - used < 1) break;
      field[used++] = static_cast<SAP_UC>(read.code_point);
    } else {
      if (room - used < 2) break;
      const char32_t above = read.code_point - first_supplementary;
      field[used++] = static_cast<SAP_UC>(first_surrogate | (above >> 10));
      field[used++] = static_cast<SAP_UC>(first_low_surrogate | (above & 0x3FF));
    }
    at += read.length;
  }
  field[used] = 0;
}
