// UTF-16 texts of the NetWeaver interface, and their conversion to and from
// the 8-bit texts of the classic interface.
#pragma once

#include <cstddef>
#include <string_view>

#include "common/bounded_text.h"
#include "nwrfc_library.h"

/// The capacity-independent part of a fixed-capacity, NUL-terminated UTF-16 text.
class Utf16Buffer {
 public:
  Utf16Buffer(const Utf16Buffer&) = delete;
  Utf16Buffer& operator=(const Utf16Buffer&) = delete;

  /// The units, NUL-terminated.
  const SAP_UC* c_str() const { return units_; }
  /// Number of units held (the NUL not counted).
  std::size_t size() const { return size_; }
  /// The units held.
  std::u16string_view view() const { return std::u16string_view(units_, size_); }
  /// Empties the text.
  void clear();
  /// Appends one character (one unit, or two for a surrogate pair); false,
  /// and nothing appended, when it does not fit whole.
  bool append_code_point(char32_t code_point);

 protected:
  Utf16Buffer(SAP_UC* storage, std::size_t capacity) : units_(storage), capacity_(capacity) { units_[0] = 0; }
  ~Utf16Buffer() = default;

 private:
  SAP_UC* units_;
  std::size_t capacity_;
  std::size_t size_ = 0;
};

/// A UTF-16 text of at most `Capacity` units in storage of its own.
template <std::size_t Capacity>
class Utf16Text : public Utf16Buffer {
 public:
  Utf16Text() : Utf16Buffer(storage_, Capacity) {}

 private:
  SAP_UC storage_[Capacity + 1];
};

/// Whether `text` is well-formed UTF-8: shortest forms only, no surrogates,
/// nothing past U+10FFFF.
bool is_utf8(std::string_view text);

/// Sets `out` to an 8-bit text as UTF-16: read as UTF-8 when it is valid
/// UTF-8, otherwise as Latin-1.  False, and `out` empty, when it does not
/// fit whole: a cut logon value would only log on wrongly.
bool utf16_from_eight_bit(std::string_view text, Utf16Buffer& out);

/// Sets `out` to the UTF-16 text of at most `max_units` units (fewer when a
/// NUL comes first) as UTF-8; a lone surrogate becomes U+FFFD.  When the
/// text does not fit, `out` ends before the first character that does not
/// fit whole, and the result is false.
bool utf8_from_utf16(const SAP_UC* units, std::size_t max_units, TextBuffer& out);

/// Writes an 8-bit text (read as utf16_from_eight_bit reads it) into a
/// UTF-16 field of `field_units` units, NUL-terminated; a text that does not
/// fit ends before the first character that does not fit whole.
void fill_utf16_field(std::string_view text, SAP_UC* field, std::size_t field_units);
