#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
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

// A stream its caller closed is taken by /dev/null opened for reading only:
// the first file the run opens would otherwise get its number, and the
// document would be written into a profile, a trace file or a socket.  On
// standard output the stand-in refuses every write, so the run fails as it
// should instead of delivering into nothing.
void prepare_standard_stream_handles() {
  for (int stream = STDIN_FILENO; stream <= STDERR_FILENO; ++stream) {
    if (fcntl(stream, F_GETFD) != -1 || errno != EBADF) continue;
    const int stand_in = open("/dev/null", O_RDONLY);
    if (stand_in >= 0 && stand_in != stream) {
      dup2(stand_in, stream);
      close(stand_in);
    }
  }
}
