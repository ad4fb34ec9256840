#include "output/xml_text.h"

namespace {

std::string_view escape_of(char c) {
  switch (c) {
    case '&': return "&amp;";
    case '<': return "&lt;";
    case '>': return "&gt;";
    default: return std::string_view();
  }
}

}  // namespace

bool append_xml_escaped(TextBuffer& out, std::string_view text, std::size_t keep_free) {
  for (char c : text) {
    std::string_view escaped = escape_of(c);
    if (escaped.empty()) escaped = std::string_view(&c, 1);
    if (out.room() < keep_free + escaped.size()) return false;
    out.append(escaped);
  }
  return true;
}
