#include "logon_file.h"

#include <cstdio>

#include "common/line_reader.h"

namespace {

constexpr const char* logon_file_name = "SapRfc.ini";

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

// The value when `line` is "key=value", with the key compared exactly.
bool value_of(std::string_view line, std::string_view key, std::string_view* value) {
  if (line.size() <= key.size() || line.substr(0, key.size()) != key || line[key.size()] != '=') return false;
  *value = trimmed(line.substr(key.size() + 1));
  return true;
}

void take_entry_line(std::string_view line, LogonFileEntry& entry) {
  std::string_view value;
  if (value_of(line, "ASHOST", &value)) entry.application_server_host.assign(value);
  if (value_of(line, "SYSNR", &value)) entry.system_number.assign(value);
  if (value_of(line, "GWHOST", &value)) entry.gateway_host.assign(value);
  if (value_of(line, "GWSERV", &value)) entry.gateway_service.assign(value);
}

}  // namespace

LogonFileLookup find_logon_entry(std::string_view destination, LogonFileEntry& entry) {
  std::FILE* file = std::fopen(logon_file_name, "rb");
  if (file == nullptr) return LogonFileLookup::no_file;
  LineReader reader(file);
  BoundedText<255> piece;
  bool in_entry = false;
  bool found = false;
  while (reader.read(piece, piece.capacity())) {
    const std::string_view line = trimmed(piece.view());
    if (line.empty() || line.front() == '*' || line.front() == '#') continue;
    std::string_view value;
    if (value_of(line, "DEST", &value)) {
      if (found) break;  // the next entry ends the one we want
      in_entry = found = value == destination;
      continue;
    }
    if (in_entry) take_entry_line(line, entry);
  }
  std::fclose(file);
  return found ? LogonFileLookup::found : LogonFileLookup::no_entry;
}
