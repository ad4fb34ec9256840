#include "rfc/logon_file_copy.h"

#include "platform/files.h"

namespace {

constexpr const char* logon_file_name = "SapRfc.ini";
constexpr const char* lock_file_name = "SapRfc.ini.lock";
constexpr const char* temporary_file_name = "SapRfc.ini.new";
// Each holder keeps the lock for one connection attempt, whose own waits are bounded.
constexpr int lock_timeout_ms = 60000;

bool copy_bytes(std::FILE* source, std::FILE* destination) {
  char buffer[4096];
  std::size_t count;
  while ((count = std::fread(buffer, 1, sizeof buffer, source)) > 0)
    if (std::fwrite(buffer, 1, count, destination) != count) return false;
  return true;
}

}  // namespace

LogonFileCopy::LogonFileCopy(OwnedFile source) : lock_(lock_file_name, lock_timeout_ms) {
  if (!lock_.held()) return;
  // What a run that ended half-way left is ours to clear; anything else by
  // that name (a link, a directory) stays, and this copy fails.
  remove_regular_file(temporary_file_name);
  std::FILE* temporary = create_new_file(temporary_file_name, FileReaders::Everyone);
  if (temporary == nullptr) return;
  const bool copied = copy_bytes(source.get(), temporary);
  source.reset();
  const bool written = std::fclose(temporary) == 0;
  in_place_ = copied && written && replace_file(temporary_file_name, logon_file_name);
  if (!in_place_) remove_regular_file(temporary_file_name);
}
