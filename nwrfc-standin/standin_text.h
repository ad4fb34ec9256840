// The stand-in's own UTF-16 codec, written apart from the bridge's: a fault in
// the bridge's conversions then shows as a difference instead of agreeing
// with itself on both sides of the interface.
#pragma once

#include <cstddef>
#include <string_view>

#include "common/bounded_text.h"
#include "nwrfc_library.h"

/// Sets `out` to the UTF-8 of the UTF-16 text of at most `max_units` units
/// (fewer when a NUL comes first); an unpaired surrogate becomes U+FFFD.
/// False when it does not fit: `out` then ends before the first character
/// that did not fit whole.
bool read_utf16(const SAP_UC* units, std::size_t max_units, TextBuffer& out);

/// Writes an 8-bit text into a UTF-16 field of `field_units` units,
/// NUL-terminated: read as UTF-8 when the whole text is well-formed UTF-8, as
/// Latin-1 otherwise, and cut before the first character that does not fit.
void write_utf16_field(std::string_view text, SAP_UC* field, std::size_t field_units);
