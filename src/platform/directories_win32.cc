#include <windows.h>

#include <cwchar>

#include "platform/directories.h"
#include "platform/files.h"
#include "platform/native_path_win32.h"

bool list_directory(const char* windows_path, DirectoryNameVisitor visit, void* context) {
  PathText pattern(windows_path);
  if (!pattern.empty() && !pattern.ends_with('\\') && !pattern.ends_with('/') && !pattern.append('\\')) return false;
  NativePath native;
  if (!pattern.append_whole("*") || !to_native_path(pattern.c_str(), native)) return false;
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW(native.text, &found);
  if (search == INVALID_HANDLE_VALUE) return false;
  do {
    if (std::wcscmp(found.cFileName, L".") == 0 || std::wcscmp(found.cFileName, L"..") == 0) continue;
    PathText name;
    if (append_utf8(found.cFileName, name)) visit(name.view(), context);
  } while (FindNextFileW(search, &found) != 0);
  FindClose(search);
  return true;
}

bool change_working_directory(const char* windows_path) {
  NativePath native;
  return to_native_path(windows_path, native) && SetCurrentDirectoryW(native.text) != 0;
}

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
  wchar_t buffer[path_capacity + 1];
  const DWORD length = GetCurrentDirectoryW(path_capacity + 1, buffer);
  path.clear();
  return length > 0 && length <= path_capacity && append_utf8(buffer, path);
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
