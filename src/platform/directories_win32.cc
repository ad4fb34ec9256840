#include <windows.h>

#include <cstring>

#include "platform/directories.h"
#include "platform/files.h"

bool list_directory(const char* windows_path, DirectoryNameVisitor visit, void* context) {
  PathText pattern(windows_path);
  if (!pattern.empty() && !pattern.ends_with('\\') && !pattern.ends_with('/') && !pattern.append('\\')) return false;
  if (!pattern.append_whole("*")) return false;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(pattern.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return false;
  do {
    if (std::strcmp(found.cFileName, ".") == 0 || std::strcmp(found.cFileName, "..") == 0) continue;
    visit(found.cFileName, context);
  } while (FindNextFileA(search, &found) != 0);
  FindClose(search);
  return true;
}

bool change_working_directory(const char* windows_path) { return SetCurrentDirectoryA(windows_path) != 0; }

OwnDirectory make_own_directory(const char* windows_path) {
  // Fails on any name that is taken, a link or junction included.
  if (CreateDirectoryA(windows_path, nullptr) == 0 && GetLastError() != ERROR_ALREADY_EXISTS)
    return OwnDirectory::NotMade;
  const DWORD attributes = GetFileAttributesA(windows_path);
  if (attributes == INVALID_FILE_ATTRIBUTES) return OwnDirectory::NotMade;
  if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) return OwnDirectory::Link;
  return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? OwnDirectory::Ready : OwnDirectory::NotADirectory;
}

bool working_directory(TextBuffer& path) {
  char buffer[path_capacity + 1];
  const DWORD length = GetCurrentDirectoryA(sizeof buffer, buffer);
  return length > 0 && length < sizeof buffer && path.assign_whole(buffer);
}

bool system_library_directory(unsigned bits, TextBuffer& path) {
  char buffer[MAX_PATH + 1];
  // A 64-bit system keeps its 32-bit libraries apart.  A 32-bit process sees
  // SysWOW64 under the name System32, so it judges 64-bit ones by that.
  UINT length = 0;
  if (bits == 32 && sizeof(void*) == 8)
    length = GetSystemWow64DirectoryA(buffer, sizeof buffer);
  else
    length = GetSystemDirectoryA(buffer, sizeof buffer);
  return length > 0 && length < sizeof buffer && path.assign_whole(buffer);
}
