#include "error_remedy.h"

#include "common/numbered_errors.h"

namespace {

std::string without_markdown(std::string_view text) {
  std::string plain;
  for (char c : text)
    if (c != '`') plain.push_back(c);
  return plain;
}

}  // namespace

std::string remedy_of_message(std::string_view message) {
  for (const NumberedErrorRow& row : numbered_error_table()) {
    const std::string start = "Error " + std::string(row.number) + ":";
    if (message.substr(0, start.size()) == start) return without_markdown(row.remedy);
  }
  return std::string();
}
