#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cerrno>
#include <cstdio>

#include "common/time_budget.h"
#include "platform/files.h"
#include "platform/native_path_win32.h"
#include "platform/range_lock_win32.h"

namespace {

constexpr std::uint64_t append_turn_offset = std::uint64_t{1} << 62;

// A link or junction is opened as itself, never followed, and refused with
// anything else that is no regular file.
HANDLE open_regular_for_appending(const char* windows_path) {
  NativePath native;
  if (!to_native_path(windows_path, native)) return INVALID_HANDLE_VALUE;
  HANDLE file = CreateFileW(native.text, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (file == INVALID_HANDLE_VALUE) return file;
  BY_HANDLE_FILE_INFORMATION information;
  const DWORD not_regular = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DEVICE;
  if (GetFileInformationByHandle(file, &information) != 0 && (information.dwFileAttributes & not_regular) == 0 &&
      GetFileType(file) == FILE_TYPE_DISK)
    return file;
  CloseHandle(file);
  return INVALID_HANDLE_VALUE;
}

}  // namespace

std::FILE* open_file_for_reading(const char* windows_path) {
  NativePath native;
  return to_native_path(windows_path, native) ? _wfopen(native.text, L"rb") : nullptr;
}

bool append_in_one_piece(const char* windows_path, std::string_view bytes) {
  HANDLE file = open_regular_for_appending(windows_path);
  if (file == INVALID_HANDLE_VALUE) return false;
  // Not every system that runs Windows programs appends whole when asked to
  // write at the end, so appenders take turns, through a lock on a byte far
  // beyond any content, where no reader is kept out.
  bool appended = false;
  const DWORD size = static_cast<DWORD>(bytes.size());
  if (bytes.size() == size && lock_range_with_deadline(file, append_turn_offset, 1, true, append_turn_wait_ms)) {
    OVERLAPPED end_of_file{};
    end_of_file.Offset = end_of_file.OffsetHigh = 0xFFFFFFFF;
    DWORD written = 0;
    appended = WriteFile(file, bytes.data(), size, &written, &end_of_file) != 0 && written == size;
    unlock_range(file, append_turn_offset, 1);
  }
  CloseHandle(file);
  return appended;
}

std::FILE* create_new_file(const char* windows_path, FileReaders /*readers: the directory's rights decide*/) {
  NativePath native;
  if (!to_native_path(windows_path, native)) return nullptr;
  // CREATE_NEW fails on any existing name.
  HANDLE handle = CreateFileW(native.text, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return nullptr;
  const int descriptor = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_WRONLY | _O_BINARY);
  if (descriptor < 0) {
    CloseHandle(handle);
    return nullptr;
  }
  std::FILE* file = _fdopen(descriptor, "wb");
  if (file == nullptr) _close(descriptor);
  return file;
}

std::FILE* create_new_copy(const char* windows_path, FileReaders readers, std::FILE* /*original*/) {
  return create_new_file(windows_path, readers);
}

bool open_file_size(std::FILE* file, std::uint64_t& size) {
  const __int64 length = _filelengthi64(_fileno(file));
  if (length < 0) return false;
  size = static_cast<std::uint64_t>(length);
  return true;
}

bool seek_from_start(std::FILE* file, std::uint64_t offset) {
  return _fseeki64(file, static_cast<__int64>(offset), SEEK_SET) == 0;
}

// The C runtime removes files only, never a directory.
bool remove_regular_file(const char* windows_path) {
  NativePath native;
  return to_native_path(windows_path, native) && _wremove(native.text) == 0;
}

bool replace_file(const char* from, const char* to) {
  NativePath native_from, native_to;
  return to_native_path(from, native_from) && to_native_path(to, native_to) &&
         MoveFileExW(native_from.text, native_to.text, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

EntryKind directory_entry_kind(const char* windows_path) {
  NativePath native;
  if (!to_native_path(windows_path, native)) return EntryKind::Other;
  const DWORD attributes = GetFileAttributesW(native.text);
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? EntryKind::Missing : EntryKind::Other;
  }
  const DWORD not_regular = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DEVICE;
  return (attributes & not_regular) == 0 ? EntryKind::RegularFile : EntryKind::Other;
}

// The files are created through the system's own calls, so its error code
// tells; the C runtime's errno tells for what went through it.
FileFault last_file_fault() {
  switch (GetLastError()) {
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
      return FileFault::NotWritable;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return FileFault::NoSpace;
    default:
      break;
  }
  if (errno == ENOSPC) return FileFault::NoSpace;
  return errno == EACCES ? FileFault::NotWritable : FileFault::Other;
}

bool flush_to_disk(std::FILE* file) { return std::fflush(file) == 0 && _commit(_fileno(file)) == 0; }

void flush_directory_of(const char* /*windows_path*/) {}
