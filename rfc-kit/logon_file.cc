#include "logon_file.h"

#include <cstdio>

#include "common/line_reader.h"
#include "platform/files.h"

namespace {

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
  const struct {
    const char* key;
    TextBuffer& field;
  } fields[] = {
      {"TYPE", entry.type},
      {"ASHOST", entry.application_server_host},
      {"SYSNR", entry.system_number},
      {"GWHOST", entry.gateway_host},
      {"GWSERV", entry.gateway_service},
      {"R3NAME", entry.system_name},
      {"MSHOST", entry.message_server_host},
      {"MSSERV", entry.message_server_service},
      {"GROUP", entry.group},
      {"SNC_MODE", entry.snc_mode},
      {"SNC_PARTNERNAME", entry.snc_partner_name},
      {"SNC_QOP", entry.snc_quality},
      {"SNC_MYNAME", entry.snc_own_name},
      {"SNC_LIB", entry.snc_library},
  };
  std::string_view value;
  for (const auto& field : fields) {
    if (!value_of(line, field.key, &value)) continue;
    // A cut host, partner name or library path would only connect wrongly,
    // so the entry remembers the key and the libraries refuse it.
    if (!field.field.assign(value) && entry.overlong_key.empty()) entry.overlong_key.assign(field.key);
    return;
  }
}

}  // namespace

LogonFileLookup find_logon_entry(std::string_view destination, LogonFileEntry& entry) {
  std::FILE* file = open_file_for_reading(logon_file_path());
  if (file == nullptr) return LogonFileLookup::NoFile;
  LineReader reader(file);
  BoundedText<1023> piece;
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
  return found ? LogonFileLookup::Found : LogonFileLookup::NoEntry;
}

void describe_missing_entry(LogonFileLookup lookup, std::string_view destination, const char** status,
                            TextBuffer& message) {
  const char* path = logon_file_path();
  const bool named_by_environment = path != default_logon_file_name;
  if (lookup == LogonFileLookup::NoFile) {
    *status = "no logon file";
    if (named_by_environment)
      message.assignf("%s (named by RFC_INI) not found", path);
    else
      message.assignf("%s not found in the working directory", path);
    return;
  }
  *status = "unknown destination";
  message.assign("destination ");
  message.append(destination);
  message.appendf(" not found in %s", path);
}

void describe_unusable_entry(std::string_view destination, std::string_view problem, TextBuffer& message) {
  message.assign("destination ");
  message.append(destination);
  message.appendf(" in %s: ", logon_file_path());
  message.append(problem);
}
