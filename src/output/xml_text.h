// Texts inside the monitor's XML result format.
#pragma once

#include <cstddef>
#include <string_view>

#include "common/bounded_text.h"

/// Appends `text` so that the document stays well-formed XML in UTF-8 and on
/// its lines, whatever its bytes: "&", "<" and ">" are written as "&amp;",
/// "&lt;" and "&gt;"; control characters and the two code points XML forbids
/// (U+FFFE, U+FFFF) become the replacement character; a byte that is not part
/// of a UTF-8 sequence is the Latin-1 character of its value and written in
/// UTF-8.  ASCII and UTF-8 text without those characters comes out unchanged.
/// Leaves at least `keep_free` characters of room; what does not fit is cut
/// before the first character that does not fit whole, never within an
/// escape or a UTF-8 sequence.  Returns false when cut.
bool append_xml_escaped(TextBuffer& out, std::string_view text, std::size_t keep_free = 0);

/// When `text` begins with one of the entities append_xml_escaped writes,
/// the character it stands for, with `length` set to the entity's length;
/// otherwise NUL.  A reader of the document turns its text back with it.
char xml_entity_at(std::string_view text, std::size_t& length);
