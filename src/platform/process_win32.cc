#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <ctime>

#include "platform/native_path_win32.h"
#include "platform/process.h"

void local_time_of_day(TimeOfDay& out) {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_s(&local, &now);
  out.assignf("%02d:%02d:%02d", local.tm_hour, local.tm_min, local.tm_sec);
}

bool executable_directory(TextBuffer& out) {
  wchar_t path[path_capacity + 1];
  const DWORD length = GetModuleFileNameW(nullptr, path, path_capacity + 1);
  if (length == 0 || length > path_capacity) return false;
  std::size_t end = length;
  while (end > 0 && path[end - 1] != L'\\' && path[end - 1] != L'/') --end;
  path[end] = L'\0';
  out.clear();
  return end > 0 && append_utf8(path, out);
}

void prepare_standard_stream_handles() {
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
}
