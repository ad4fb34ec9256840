#include "installation_files.h"

#include <algorithm>

#include "common/ascii.h"
#include "platform/directories.h"
#include "platform/files.h"

namespace {

void add_name(std::string_view name, void* context) {
  static_cast<InstallationFiles*>(context)->names.emplace_back(name);
}

}  // namespace

bool ends_with_ignoring_case(std::string_view text, std::string_view suffix) {
  return text.size() >= suffix.size() && equals_ignoring_case(text.substr(text.size() - suffix.size()), suffix);
}

bool InstallationFiles::has(std::string_view name) const {
  return std::find(names.begin(), names.end(), name) != names.end();
}

std::string InstallationFiles::find_ignoring_case(std::string_view name) const {
  for (const std::string& held : names)
    if (equals_ignoring_case(held, name)) return held;
  return std::string();
}

std::vector<std::string> InstallationFiles::named(std::string_view name, FileNameCase rule) const {
  std::vector<std::string> found;
  for (const std::string& held : names)
    if (same_file_name(held, name, rule)) found.push_back(held);
  return found;
}

std::vector<std::string> InstallationFiles::matching(std::string_view prefix, std::string_view suffix) const {
  std::vector<std::string> found;
  for (const std::string& held : names)
    if (held.size() >= prefix.size() + suffix.size() && starts_with_ignoring_case(held, prefix) &&
        ends_with_ignoring_case(held, suffix))
      found.push_back(held);
  return found;
}

bool read_installation_files(InstallationFiles& files) {
  files.names.clear();
  if (!list_directory("", add_name, &files)) return false;
  std::sort(files.names.begin(), files.names.end());
  return true;
}

FileReading read_whole_file(const std::string& path, std::string& bytes) {
  bytes.clear();
  const OwnedFile file(open_file_for_reading(path.c_str()));
  std::uint64_t size = 0;
  if (file == nullptr || !open_file_size(file.get(), size)) return FileReading::Missing;
  if (size > most_file_bytes) return FileReading::TooLarge;
  bytes.resize(static_cast<std::size_t>(size));
  bytes.resize(std::fread(&bytes[0], 1, bytes.size(), file.get()));
  return FileReading::Read;
}
