#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "platform/files.h"
#include "platform/native_path_posix.h"

namespace {

constexpr mode_t readable_by_everyone = 0666;  // narrowed by the umask, as for any new file
constexpr mode_t readable_by_owner = 0600;

bool is_regular(int descriptor) {
  struct stat status;
  return fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode);
}

// Opens without waiting (a pipe would otherwise block in open itself), keeps
// the descriptor only for a regular file, and then lets it wait as usual.
int open_regular_descriptor(const char* windows_path, int flags) {
  NativePath native;
  if (!to_native_path(windows_path, native)) return -1;
  const int descriptor = open(native.c_str(), flags | O_NONBLOCK | O_CLOEXEC, readable_by_everyone);
  if (descriptor < 0) return -1;
  if (!is_regular(descriptor) || fcntl(descriptor, F_SETFL, flags & O_APPEND) != 0) {
    close(descriptor);
    return -1;
  }
  return descriptor;
}

std::FILE* open_regular(const char* windows_path, int flags, const char* mode) {
  const int descriptor = open_regular_descriptor(windows_path, flags);
  if (descriptor < 0) return nullptr;
  std::FILE* file = fdopen(descriptor, mode);
  if (file == nullptr) close(descriptor);
  return file;
}

}  // namespace

bool to_native_path(const char* windows_path, NativePath& native) {
  const char* rest = windows_path;
  const bool has_drive = ((rest[0] >= 'A' && rest[0] <= 'Z') || (rest[0] >= 'a' && rest[0] <= 'z')) && rest[1] == ':';
  if (has_drive) rest += 2;
  if (!native.assign_whole(rest)) return false;
  native.replace_all('\\', '/');
  return true;
}

std::FILE* open_file_for_reading(const char* windows_path) { return open_regular(windows_path, O_RDONLY, "rb"); }

bool append_in_one_piece(const char* windows_path, std::string_view bytes) {
  const int descriptor = open_regular_descriptor(windows_path, O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW);
  if (descriptor < 0) return false;
  // One write to a file opened for appending lands whole at its end.
  const ssize_t written = write(descriptor, bytes.data(), bytes.size());
  close(descriptor);
  return written >= 0 && static_cast<std::size_t>(written) == bytes.size();
}

std::FILE* create_new_file(const char* windows_path, FileReaders readers) {
  NativePath native;
  if (!to_native_path(windows_path, native)) return nullptr;
  // O_EXCL fails on any existing name, a dangling link included.
  const mode_t mode = readers == FileReaders::OwnerOnly ? readable_by_owner : readable_by_everyone;
  const int descriptor = open(native.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
  if (descriptor < 0) return nullptr;
  std::FILE* file = fdopen(descriptor, "wb");
  if (file == nullptr) close(descriptor);
  return file;
}

bool open_file_size(std::FILE* file, std::uint64_t& size) {
  struct stat status;
  if (fstat(fileno(file), &status) != 0 || status.st_size < 0) return false;
  size = static_cast<std::uint64_t>(status.st_size);
  return true;
}

bool seek_from_start(std::FILE* file, std::uint64_t offset) {
  return fseeko(file, static_cast<off_t>(offset), SEEK_SET) == 0;
}

bool remove_regular_file(const char* windows_path) {
  NativePath native;
  struct stat status;
  return to_native_path(windows_path, native) && lstat(native.c_str(), &status) == 0 && S_ISREG(status.st_mode) &&
         unlink(native.c_str()) == 0;
}

bool replace_file(const char* from, const char* to) {
  NativePath native_from, native_to;
  return to_native_path(from, native_from) && to_native_path(to, native_to) &&
         std::rename(native_from.c_str(), native_to.c_str()) == 0;
}

EntryKind directory_entry_kind(const char* windows_path) {
  NativePath native;
  struct stat status;
  if (!to_native_path(windows_path, native)) return EntryKind::Other;
  if (lstat(native.c_str(), &status) != 0) return errno == ENOENT ? EntryKind::Missing : EntryKind::Other;
  return S_ISREG(status.st_mode) ? EntryKind::RegularFile : EntryKind::Other;
}

FileFault last_file_fault() {
  switch (errno) {
    case EACCES:
    case EPERM:
    case EROFS:
      return FileFault::NotWritable;
    case ENOSPC:
    case EDQUOT:
      return FileFault::NoSpace;
    default:
      return FileFault::Other;
  }
}

bool flush_to_disk(std::FILE* file) { return std::fflush(file) == 0 && fsync(fileno(file)) == 0; }

void flush_directory_of(const char* windows_path) {
  NativePath native;
  if (!to_native_path(windows_path, native)) return;
  const std::size_t slash = native.view().rfind('/');
  if (slash == std::string_view::npos)
    native.assign(".");
  else
    native.cut_at(slash == 0 ? 1 : slash);
  const int directory = open(native.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (directory < 0) return;
  fsync(directory);
  close(directory);
}
