#include "rfc/logon_file_copy.h"

#include <cstdint>

#include "common/line_reader.h"
#include "common/logon_file_names.h"
#include "common/time_budget.h"
#include "platform/environment.h"
#include "platform/file_lock.h"
#include "platform/files.h"

namespace {

constexpr const char* logon_file_name = default_logon_file_name;
constexpr const char* lock_file_name = logon_file_lock_name;
constexpr const char* temporary_file_name = logon_file_temporary_name;

using OwnLogonFileName = BoundedText<31>;

void form_own_logon_file_name(unsigned long process_id, OwnLogonFileName& name) {
  name.assign(own_logon_file_prefix);
  name.appendf("%lu", process_id);
  name.append(own_logon_file_suffix);
}

// Copies what a library reads of a logon file and no more: a huge file (or
// one that never ends) would hold the copy's lock, and fill the disk, for
// bytes nobody reads.
bool copy_bytes(std::FILE* source, std::FILE* destination) {
  char buffer[4096];
  std::uint64_t copied = 0;
  std::size_t count;
  while (copied < text_file_byte_bound && (count = std::fread(buffer, 1, sizeof buffer, source)) > 0) {
    if (std::fwrite(buffer, 1, count, destination) != count) return false;
    copied += count;
  }
  return true;
}

void describe_file_fault(const char* name, TextBuffer& failure) {
  const FileFault fault = last_file_fault();  // taken before another call changes it
  if (directory_entry_kind(name) == EntryKind::Other) {
    failure.assignf("%s is not a regular file", name);
    return;
  }
  switch (fault) {
    case FileFault::NotWritable:
      failure.assignf("no write access for %s in the working directory", name);
      break;
    case FileFault::NoSpace:
      failure.assignf("no space left for %s", name);
      break;
    case FileFault::Other:
      failure.assignf("%s cannot be written", name);
      break;
  }
}

// Creates `name`, which must not exist, with the bytes of `source`; it grants
// nobody more than `source` does, which holds a password's way through a
// SAProuter route as much as the logon data of a secure network.
bool write_new_file(const char* name, FileReaders readers, std::FILE* source, TextBuffer& failure) {
  std::FILE* created = create_new_copy(name, readers, source);
  if (created == nullptr) {
    describe_file_fault(name, failure);
    return false;
  }
  const bool copied = copy_bytes(source, created) && std::fflush(created) == 0;
  if (!copied) describe_file_fault(name, failure);
  const bool written = std::fclose(created) == 0;
  if (copied && !written) describe_file_fault(name, failure);
  if (copied && written) return true;
  remove_regular_file(name);
  return false;
}

}  // namespace

bool refresh_shared_logon_file(std::FILE* source, TextBuffer& failure) {
  const FileLock lock(lock_file_name, logon_file_lock_wait_ms);
  if (!lock.held()) {
    if (lock.timed_out())
      failure.assignf("%s held by another process for %d s", lock_file_name, logon_file_lock_wait_ms / 1000);
    else
      describe_file_fault(lock_file_name, failure);
    return false;
  }
  // What a run that ended half-way left is ours to clear; anything else by
  // that name (a link, a directory) stays, and this copy fails.
  remove_regular_file(temporary_file_name);
  if (!write_new_file(temporary_file_name, FileReaders::Everyone, source, failure)) return false;
  if (replace_file(temporary_file_name, logon_file_name)) return true;
  describe_file_fault(logon_file_name, failure);
  remove_regular_file(temporary_file_name);
  return false;
}

void remove_logon_file_copies_of(unsigned long process_id) {
  OwnLogonFileName name;
  form_own_logon_file_name(process_id, name);
  remove_regular_file(name.c_str());
  // A child ended while it held the lock leaves the shared copy half-written.
  if (directory_entry_kind(temporary_file_name) != EntryKind::RegularFile) return;
  const FileLock lock(lock_file_name, logon_file_clearing_wait_ms);
  if (lock.held()) remove_regular_file(temporary_file_name);
}

OwnLogonFile::~OwnLogonFile() {
  if (!name_.empty()) remove_regular_file(name_.c_str());
}

bool OwnLogonFile::rewrite(std::FILE* source, TextBuffer& failure) {
  // No other live process has this number, so a file by this name is what
  // this run wrote before, or what one that ended under the same number left.
  if (name_.empty()) {
    OwnLogonFileName name;
    form_own_logon_file_name(current_process_id(), name);
    if (!set_environment_variable("RFC_INI", name.c_str())) {
      failure.assign("RFC_INI cannot be set");
      return false;
    }
    name_.assign(name.view());
  }
  remove_regular_file(name_.c_str());
  return write_new_file(name_.c_str(), FileReaders::OwnerOnly, source, failure);
}

void point_library_at_own_logon_file() {
  OwnLogonFileName name;
  form_own_logon_file_name(current_process_id(), name);
  set_environment_variable("RFC_INI", name.c_str());
}
