#include "platform/files.h"

#include <windows.h>

#include <cstdio>

std::FILE* open_file(const char* windows_path, const char* mode) { return std::fopen(windows_path, mode); }

std::FILE* open_file_for_reading(const char* windows_path) { return open_file(windows_path, "rb"); }

bool remove_file(const char* windows_path) { return std::remove(windows_path) == 0; }

bool replace_file(const char* from, const char* to) {
  return MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}
