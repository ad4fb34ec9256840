#include "sim_log.h"

#include <cstdio>
#include <mutex>

namespace {

std::mutex log_mutex;

}  // namespace

void log_line(const std::string& line) {
  std::lock_guard<std::mutex> lock(log_mutex);
  std::fwrite(line.data(), 1, line.size(), stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

std::string loggable(const std::string& value) {
  std::string shown = value;
  for (char& c : shown)
    if (c == '\n' || c == '\r') c = ' ';
  return shown;
}
