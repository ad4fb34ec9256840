#include <unistd.h>

#include <ctime>

#include "platform/files.h"
#include "platform/process.h"

void local_time_of_day(TimeOfDay& out) {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  out.assignf("%02d:%02d:%02d", local.tm_hour, local.tm_min, local.tm_sec);
}

bool executable_directory(TextBuffer& out) {
  char path[path_capacity + 1];
  const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
  if (length <= 0) return false;
  std::size_t end = static_cast<std::size_t>(length);
  while (end > 0 && path[end - 1] != '/') --end;
  return end > 0 && out.assign_whole(std::string_view(path, end));
}

void set_binary_standard_output() {}
