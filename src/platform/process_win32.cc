#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <ctime>

#include "platform/process.h"

void local_time_of_day(TimeOfDay& out) {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_s(&local, &now);
  out.assignf("%02d:%02d:%02d", local.tm_hour, local.tm_min, local.tm_sec);
}

bool executable_directory(TextBuffer& out) {
  char path[MAX_PATH * 4];
  const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
  if (length == 0 || length >= sizeof path) return false;
  std::size_t end = length;
  while (end > 0 && path[end - 1] != '\\' && path[end - 1] != '/') --end;
  return end > 0 && out.assign_whole(std::string_view(path, end));
}

void prepare_standard_stream_handles() {
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
}
