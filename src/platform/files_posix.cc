#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "platform/files.h"
#include "platform/native_path_posix.h"

namespace {

constexpr mode_t readable_by_everyone = 0666;  // narrowed by the umask, as for any new file
constexpr mode_t readable_by_owner = 0600;
constexpr mode_t permission_bits = 0777;

/// One name of a path, as long as a Linux file system lets it be.
using PathStep = BoundedText<NAME_MAX>;

bool is_regular(int descriptor) {
  struct stat status;
  return fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode);
}

/// Whether an open goes through links on the way to the file and in its place.
enum class Links { Followed, Refused };

// Opens the directory that holds the path's last name one name at a time,
// none of them through a link, and sets `name` to that last name: AT_FDCWD
// for a name without a directory, -1 when a name on the way is no directory.
int open_directory_without_links(std::string_view path, std::string_view& name) {
  int directory = AT_FDCWD;
  std::size_t start = 0;
  if (!path.empty() && path[0] == '/') {
    directory = open("/", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    start = 1;
  }
  for (std::size_t slash = path.find('/', start); directory != -1 && slash != std::string_view::npos;
       slash = path.find('/', start)) {
    PathStep step;
    const bool named = step.assign_whole(path.substr(start, slash - start));
    start = slash + 1;
    if (named && step.empty()) continue;
    const int next = named ? openat(directory, step.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC) : -1;
    if (directory != AT_FDCWD) close(directory);
    directory = next;
  }
  name = path.substr(start);
  return directory;
}

int open_descriptor(const char* native_path, int flags, Links links) {
  if (links == Links::Followed) return open(native_path, flags, readable_by_everyone);
  std::string_view name;
  const int directory = open_directory_without_links(native_path, name);
  if (directory == -1) return -1;
  PathStep file_name;
  const int descriptor = file_name.assign_whole(name)
                             ? openat(directory, file_name.c_str(), flags | O_NOFOLLOW, readable_by_everyone)
                             : -1;
  if (directory != AT_FDCWD) close(directory);
  return descriptor;
}

// Opens without waiting (a pipe would otherwise block in open itself), keeps
// the descriptor only for a regular file, and then lets it wait as usual.
int open_regular_descriptor(const char* windows_path, int flags, Links links) {
  NativePath native;
  if (!to_native_path(windows_path, native)) return -1;
  const int descriptor = open_descriptor(native.c_str(), flags | O_NONBLOCK | O_CLOEXEC, links);
  if (descriptor < 0) return -1;
  if (!is_regular(descriptor) || fcntl(descriptor, F_SETFL, flags & O_APPEND) != 0) {
    close(descriptor);
    return -1;
  }
  return descriptor;
}

std::FILE* open_regular(const char* windows_path, int flags, const char* mode) {
  const int descriptor = open_regular_descriptor(windows_path, flags, Links::Followed);
  if (descriptor < 0) return nullptr;
  std::FILE* file = fdopen(descriptor, mode);
  if (file == nullptr) close(descriptor);
  return file;
}

std::FILE* create_with_mode(const char* windows_path, mode_t mode) {
  NativePath native;
  if (!to_native_path(windows_path, native)) return nullptr;
  // O_EXCL fails on any existing name, a dangling link included.
  const int descriptor = open(native.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
  if (descriptor < 0) return nullptr;
  std::FILE* file = fdopen(descriptor, "wb");
  if (file == nullptr) close(descriptor);
  return file;
}

mode_t mode_for(FileReaders readers) {
  return readers == FileReaders::OwnerOnly ? readable_by_owner : readable_by_everyone;
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
  const int descriptor = open_regular_descriptor(windows_path, O_WRONLY | O_APPEND | O_CREAT, Links::Refused);
  if (descriptor < 0) return false;
  // One write to a file opened for appending lands whole at its end.
  const ssize_t written = write(descriptor, bytes.data(), bytes.size());
  close(descriptor);
  return written >= 0 && static_cast<std::size_t>(written) == bytes.size();
}

std::FILE* create_new_file(const char* windows_path, FileReaders readers) {
  return create_with_mode(windows_path, mode_for(readers));
}

std::FILE* create_new_copy(const char* windows_path, FileReaders readers, std::FILE* original) {
  struct stat status;
  if (fstat(fileno(original), &status) != 0) return nullptr;
  return create_with_mode(windows_path, mode_for(readers) & status.st_mode & permission_bits);
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
