#include "utf16_text.h"

namespace {

constexpr char32_t replacement_character = 0xFFFD;

// Length of the well-formed UTF-8 sequence at the start of `text`, or 0 when
// none starts there; its code point in `*code_point`.
std::size_t utf8_sequence(std::string_view text, char32_t* code_point) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(0);
  if (lead < 0x80) {
    *code_point = lead;
    return 1;
  }
  std::size_t length = 0;
  char32_t value = 0;
  char32_t smallest = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, value = lead & 0x1F, smallest = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, value = lead & 0x0F, smallest = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, value = lead & 0x07, smallest = 0x10000;
  } else {
    return 0;
  }
  if (text.size() < length) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(i) & 0xC0) != 0x80) return 0;
    value = (value << 6) | (byte(i) & 0x3F);
  }
  if (value < smallest || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return 0;
  *code_point = value;
  return length;
}

// Calls `take` with each character of an 8-bit text, read as UTF-8 when it
// is valid UTF-8 and as Latin-1 otherwise, until `take` returns false.
template <typename Take>
bool for_each_character(std::string_view text, Take take) {
  const bool utf8 = is_utf8(text);
  while (!text.empty()) {
    char32_t code_point = static_cast<unsigned char>(text.front());
    const std::size_t length = utf8 ? utf8_sequence(text, &code_point) : 1;
    if (!take(code_point)) return false;
    text.remove_prefix(length);
  }
  return true;
}

bool append_utf8(char32_t code_point, TextBuffer& out) {
  char bytes[4];
  std::size_t length = 0;
  if (code_point < 0x80) {
    bytes[length++] = static_cast<char>(code_point);
  } else if (code_point < 0x800) {
    bytes[length++] = static_cast<char>(0xC0 | (code_point >> 6));
    bytes[length++] = static_cast<char>(0x80 | (code_point & 0x3F));
  } else if (code_point < 0x10000) {
    bytes[length++] = static_cast<char>(0xE0 | (code_point >> 12));
    bytes[length++] = static_cast<char>(0x80 | ((code_point >> 6) & 0x3F));
    bytes[length++] = static_cast<char>(0x80 | (code_point & 0x3F));
  } else {
    bytes[length++] = static_cast<char>(0xF0 | (code_point >> 18));
    bytes[length++] = static_cast<char>(0x80 | ((code_point >> 12) & 0x3F));
    bytes[length++] = static_cast<char>(0x80 | ((code_point >> 6) & 0x3F));
    bytes[length++] = static_cast<char>(0x80 | (code_point & 0x3F));
  }
  return out.append_whole(std::string_view(bytes, length));
}

// A UTF-16 text written straight into a record's field.
class FieldText : public Utf16Buffer {
 public:
  FieldText(SAP_UC* field, std::size_t field_units) : Utf16Buffer(field, field_units - 1) {}
};

// Appends one character: one unit, or two for a surrogate pair; false, and
// nothing appended, when it does not fit whole.
bool append_code_point(char32_t code_point, Utf16Buffer& out) {
  if (code_point < 0x10000) return out.append(static_cast<SAP_UC>(code_point));
  const char32_t above = code_point - 0x10000;
  const SAP_UC pair[2] = {static_cast<SAP_UC>(0xD800 + (above >> 10)), static_cast<SAP_UC>(0xDC00 + (above & 0x3FF))};
  return out.append_whole(std::u16string_view(pair, 2));
}

bool is_high_surrogate(char32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool is_low_surrogate(char32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

}  // namespace

bool is_utf8(std::string_view text) {
  while (!text.empty()) {
    char32_t code_point = 0;
    const std::size_t length = utf8_sequence(text, &code_point);
    if (length == 0) return false;
    text.remove_prefix(length);
  }
  return true;
}

bool utf16_from_eight_bit(std::string_view text, Utf16Buffer& out) {
  out.clear();
  if (for_each_character(text, [&](char32_t code_point) { return append_code_point(code_point, out); })) return true;
  out.clear();
  return false;
}

bool utf8_from_utf16(const SAP_UC* units, std::size_t max_units, TextBuffer& out) {
  out.clear();
  for (std::size_t i = 0; i < max_units && units[i] != 0; ++i) {
    char32_t code_point = units[i];
    if (is_high_surrogate(code_point) && i + 1 < max_units && is_low_surrogate(units[i + 1])) {
      code_point = 0x10000 + ((code_point - 0xD800) << 10) + (units[i + 1] - 0xDC00);
      ++i;
    } else if (is_high_surrogate(code_point) || is_low_surrogate(code_point)) {
      code_point = replacement_character;
    }
    if (!append_utf8(code_point, out)) return false;
  }
  return true;
}

void fill_utf16_field(std::string_view text, SAP_UC* field, std::size_t field_units) {
  FieldText out(field, field_units);
  for_each_character(text, [&](char32_t code_point) { return append_code_point(code_point, out); });
}
