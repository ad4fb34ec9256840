// Texts inside the monitor's XML result format.
#pragma once

#include <cstddef>
#include <string_view>

#include "common/bounded_text.h"

/// Appends `text` with "&", "<" and ">" written as "&amp;", "&lt;" and "&gt;",
/// so that no text can break the document's structure.  Leaves at least
/// `keep_free` characters of room; what does not fit is cut, never in the
/// middle of an escape.  Returns false when cut.
bool append_xml_escaped(TextBuffer& out, std::string_view text, std::size_t keep_free = 0);
