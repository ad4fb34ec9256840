// UTF-16 texts of the NetWeaver interface, and their conversion to and from
// the 8-bit texts of the classic interface.
#pragma once

#include <cstddef>
#include <string_view>

#include "common/bounded_text.h"
#include "nwrfc_library.h"

/// Any UTF-16 bounded text, by reference: the bounded text of the sensor's
/// 8-bit texts, holding units of the NetWeaver interface.
using Utf16Buffer = BasicTextBuffer<SAP_UC>;

/// A UTF-16 text of at most `Capacity` units in storage of its own.
template <std::size_t Capacity>
using Utf16Text = BasicBoundedText<SAP_UC, Capacity>;

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
