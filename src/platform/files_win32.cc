#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>

#include "platform/files.h"

std::FILE* open_file_for_reading(const char* windows_path) { return std::fopen(windows_path, "rb"); }

std::FILE* open_file_for_appending(const char* windows_path) {
  // Opened for appending only, each write lands at the end in one step, so
  // that processes appending at the same moment never overwrite each other.
  HANDLE handle = CreateFileA(windows_path, FILE_APPEND_DATA | SYNCHRONIZE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return nullptr;
  const int descriptor = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_WRONLY | _O_APPEND | _O_BINARY);
  if (descriptor < 0) {
    CloseHandle(handle);
    return nullptr;
  }
  std::FILE* file = _fdopen(descriptor, "ab");
  if (file == nullptr) _close(descriptor);
  return file;
}

std::FILE* create_new_file(const char* windows_path, FileReaders /*readers: the directory's rights decide*/) {
  // CREATE_NEW fails on any existing name.
  HANDLE handle = CreateFileA(windows_path, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
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
bool remove_regular_file(const char* windows_path) { return std::remove(windows_path) == 0; }

bool replace_file(const char* from, const char* to) {
  return MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}
