#include "logon_file.h"

#include <cstdio>

#include "platform/files.h"

namespace {

bool is_own_copy_name(std::string_view path) {
  if (path.size() <= own_logon_file_prefix.size() + own_logon_file_suffix.size() ||
      path.substr(0, own_logon_file_prefix.size()) != own_logon_file_prefix ||
      path.substr(path.size() - own_logon_file_suffix.size()) != own_logon_file_suffix)
    return false;
  const std::string_view number = path.substr(
      own_logon_file_prefix.size(), path.size() - own_logon_file_prefix.size() - own_logon_file_suffix.size());
  for (char c : number)
    if (c < '0' || c > '9') return false;
  return true;
}

}  // namespace

LogonFileLookup find_logon_entry(std::string_view destination, LogonFileEntry& entry) {
  const OwnedFile file(open_file_for_reading(logon_file_path()));
  if (file == nullptr) return LogonFileLookup::NoFile;
  return read_logon_entry(file.get(), destination, entry);
}

void write_edited_logon_file_name(std::string_view destination, TextBuffer& name) {
  const char* path = logon_file_path();
  if (!is_own_copy_name(path)) {
    name.assign(path);
    return;
  }
  form_destination_logon_file_name(destination, name);
}

void describe_missing_entry(LogonFileLookup lookup, std::string_view destination, const char** status,
                            TextBuffer& message) {
  const char* path = logon_file_path();
  const bool named_by_environment = std::string_view(path) != default_logon_file_name;
  if (lookup == LogonFileLookup::NoFile) {
    *status = "no logon file";
    if (named_by_environment)
      message.assignf("%s (named by RFC_INI) not found", path);
    else
      message.assignf("%s not found in the working directory", path);
    return;
  }
  *status = "unknown destination";
  LogonFileValue edited;
  write_edited_logon_file_name(destination, edited);
  message.assign("destination ");
  message.append(destination);
  message.append(" not found in ");
  message.append(edited.view());
  if (lookup == LogonFileLookup::UnreadableStart) message.append(", whose first entry cannot be read: no DEST= line");
}

void describe_unusable_entry(std::string_view destination, std::string_view problem, TextBuffer& message) {
  LogonFileValue edited;
  write_edited_logon_file_name(destination, edited);
  message.assign("destination ");
  message.append(destination);
  message.append(" in ");
  message.append(edited.view());
  message.append(": ");
  message.append(problem);
}
