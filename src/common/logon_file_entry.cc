#include "common/logon_file_entry.h"

#include "common/line_reader.h"

namespace {

constexpr std::string_view byte_order_mark = "\xEF\xBB\xBF";

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

// `whole` is false for a line longer than a piece, whose value was not read to its end.
void take_entry_line(std::string_view line, bool whole, LogonFileEntry& entry) {
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
    if ((!field.field.assign(value) || !whole) && entry.overlong_key.empty()) entry.overlong_key.assign(field.key);
    return;
  }
}

}  // namespace

LogonFileLookup read_logon_entry(std::FILE* file, std::string_view destination, LogonFileEntry& entry) {
  LineReader reader(file);
  BoundedText<1023> piece;
  bool in_entry = false;
  bool found = false;
  bool at_start = true;
  bool dest_seen = false;
  bool readable_start = true;
  while (reader.read(piece, piece.capacity())) {
    // The rest of a longer line is never taken for a line of its own.
    const bool whole = reader.skip_rest_of_line() == 0;
    std::string_view line = piece.view();
    // Some editors begin every file they save with one.
    if (at_start && line.substr(0, byte_order_mark.size()) == byte_order_mark)
      line.remove_prefix(byte_order_mark.size());
    at_start = false;
    line = trimmed(line);
    if (line.empty() || line.front() == '*' || line.front() == '#') continue;
    std::string_view value;
    const bool dest_line = value_of(line, "DEST", &value);
    // A destination name that long names no destination a profile can have.
    if (dest_line && !whole) value = std::string_view();
    if (!dest_line && !dest_seen) readable_start = false;
    if (dest_line) {
      dest_seen = true;
      if (found) break;  // the next entry ends the one we want
      in_entry = found = value == destination;
      continue;
    }
    if (in_entry) take_entry_line(line, whole, entry);
  }
  if (found) return LogonFileLookup::Found;
  return readable_start ? LogonFileLookup::NoEntry : LogonFileLookup::UnreadableStart;
}
