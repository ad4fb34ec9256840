#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>

#include "platform/files.h"

std::FILE* open_file_for_reading(const char* windows_path) { return std::fopen(windows_path, "rb"); }

std::FILE* open_file_for_appending(const char* windows_path) { return std::fopen(windows_path, "ab"); }

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

// The C runtime removes files only, never a directory.
bool remove_regular_file(const char* windows_path) { return std::remove(windows_path) == 0; }

bool replace_file(const char* from, const char* to) {
  return MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}
