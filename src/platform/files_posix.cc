#include <cstdio>

#include "platform/files.h"
#include "platform/native_path_posix.h"

bool to_native_path(const char* windows_path, NativePath& native) {
  const char* rest = windows_path;
  const bool has_drive = ((rest[0] >= 'A' && rest[0] <= 'Z') || (rest[0] >= 'a' && rest[0] <= 'z')) && rest[1] == ':';
  if (has_drive) rest += 2;
  if (!native.assign_whole(rest)) return false;
  native.replace_all('\\', '/');
  return true;
}

std::FILE* open_file(const char* windows_path, const char* mode) {
  NativePath native;
  if (!to_native_path(windows_path, native)) return nullptr;
  return std::fopen(native.c_str(), mode);
}

std::FILE* open_file_for_reading(const char* windows_path) { return open_file(windows_path, "rb"); }

bool remove_file(const char* windows_path) {
  NativePath native;
  return to_native_path(windows_path, native) && std::remove(native.c_str()) == 0;
}

bool replace_file(const char* from, const char* to) {
  NativePath native_from, native_to;
  return to_native_path(from, native_from) && to_native_path(to, native_to) &&
         std::rename(native_from.c_str(), native_to.c_str()) == 0;
}
