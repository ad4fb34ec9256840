#include "rfc/logon_file_copy.h"

#include "platform/environment.h"
#include "platform/file_lock.h"
#include "platform/files.h"

namespace {

constexpr const char* logon_file_name = "SapRfc.ini";
constexpr const char* lock_file_name = "SapRfc.ini.lock";
constexpr const char* temporary_file_name = "SapRfc.ini.new";
// The lock is held for the copy of one local file; only a holder that hangs
// makes anyone wait this long.
constexpr int lock_timeout_ms = 60000;

bool copy_bytes(std::FILE* source, std::FILE* destination) {
  char buffer[4096];
  std::size_t count;
  while ((count = std::fread(buffer, 1, sizeof buffer, source)) > 0)
    if (std::fwrite(buffer, 1, count, destination) != count) return false;
  return true;
}

// Creates `name`, which must not exist, with the bytes of `source`.
bool write_new_file(const char* name, FileReaders readers, std::FILE* source) {
  std::FILE* created = create_new_file(name, readers);
  if (created == nullptr) return false;
  const bool copied = copy_bytes(source, created);
  const bool written = std::fclose(created) == 0;
  if (copied && written) return true;
  remove_regular_file(name);
  return false;
}

}  // namespace

bool refresh_shared_logon_file(std::FILE* source) {
  const FileLock lock(lock_file_name, lock_timeout_ms);
  if (!lock.held()) return false;
  // What a run that ended half-way left is ours to clear; anything else by
  // that name (a link, a directory) stays, and this copy fails.
  remove_regular_file(temporary_file_name);
  if (!write_new_file(temporary_file_name, FileReaders::Everyone, source)) return false;
  if (replace_file(temporary_file_name, logon_file_name)) return true;
  remove_regular_file(temporary_file_name);
  return false;
}

OwnLogonFile::~OwnLogonFile() {
  if (!name_.empty()) remove_regular_file(name_.c_str());
}

bool OwnLogonFile::rewrite(std::FILE* source) {
  // No other live process has this number, so a file by this name is what
  // this run wrote before, or what one that ended under the same number left.
  if (name_.empty()) {
    BoundedText<31> name;
    name.assignf("SapRfc-%lu.ini", current_process_id());
    if (!set_environment_variable("RFC_INI", name.c_str())) return false;
    name_.assign(name.view());
  }
  remove_regular_file(name_.c_str());
  return write_new_file(name_.c_str(), FileReaders::OwnerOnly, source);
}

void point_library_at_own_logon_file() {
  BoundedText<31> name;
  name.assignf("SapRfc-%lu.ini", current_process_id());
  set_environment_variable("RFC_INI", name.c_str());
}
