#include "rfcsim_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

namespace {

// Longest a test waits for rfcsim to get ready or to end.
constexpr int process_wait_ms = 10000;

bool read_some(int fd, std::string& into) {
  char buffer[4096];
  const ssize_t got = read(fd, buffer, sizeof buffer);
  if (got > 0) into.append(buffer, static_cast<std::size_t>(got));
  return got > 0 || (got < 0 && errno == EINTR);
}

int remaining_ms(std::chrono::steady_clock::time_point deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
  return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

std::vector<std::string> lines_after_ready(const std::string& output) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  bool ready_seen = false;
  while (start < output.size()) {
    std::size_t end = output.find('\n', start);
    if (end == std::string::npos) end = output.size();
    const std::string line = output.substr(start, end - start);
    if (ready_seen) lines.push_back(line);
    if (line == "ready") ready_seen = true;
    start = end + 1;
  }
  return lines;
}

}  // namespace

RfcsimProcess::~RfcsimProcess() {
  if (pid_ > 0) stop(SIGTERM);
}

bool RfcsimProcess::spawn(const std::string& scenario_path) {
  output_.clear();
  errors_.clear();
  exit_code_ = -1;
  int out_pipe[2];
  int err_pipe[2];
  if (pipe2(out_pipe, O_CLOEXEC) != 0) return false;
  if (pipe2(err_pipe, O_CLOEXEC) != 0) {
    close(out_pipe[0]);
    close(out_pipe[1]);
    return false;
  }
  pid_ = fork();
  if (pid_ == 0) {
    dup2(out_pipe[1], 1);
    dup2(err_pipe[1], 2);
    execl(RFCSIM_PATH, "rfcsim", scenario_path.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  close(out_pipe[1]);
  close(err_pipe[1]);
  out_fd_ = out_pipe[0];
  err_fd_ = err_pipe[0];
  return pid_ > 0;
}

bool RfcsimProcess::start(const std::string& scenario_path) {
  if (!spawn(scenario_path)) return false;
  if (wait_for_output("ready\n")) return true;
  stop(SIGKILL);
  return false;
}

bool RfcsimProcess::wait_for_output(const std::string& text) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(process_wait_ms);
  while (output_.find(text) == std::string::npos) {
    pollfd watched{out_fd_, POLLIN, 0};
    if (pid_ <= 0 || poll(&watched, 1, remaining_ms(deadline)) <= 0 || !read_some(out_fd_, output_)) return false;
  }
  return true;
}

void RfcsimProcess::drain_and_reap() {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(process_wait_ms);
  bool out_open = true;
  bool err_open = true;
  while (out_open || err_open) {
    pollfd watched[2] = {{out_open ? out_fd_ : -1, POLLIN, 0}, {err_open ? err_fd_ : -1, POLLIN, 0}};
    if (poll(watched, 2, remaining_ms(deadline)) <= 0) break;
    if (watched[0].revents != 0) out_open = read_some(out_fd_, output_);
    if (watched[1].revents != 0) err_open = read_some(err_fd_, errors_);
  }
  // rfcsim closes its pipes only by ending, so once both ended the wait below
  // is short; past the bound a stuck process is killed, so it always ends.
  if (out_open || err_open) kill(pid_, SIGKILL);
  int status = 0;
  waitpid(pid_, &status, 0);
  exit_code_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  close(out_fd_);
  close(err_fd_);
  pid_ = -1;
}

std::vector<std::string> RfcsimProcess::stop(int signal_number) {
  if (pid_ <= 0) return lines_after_ready(output_);
  kill(pid_, signal_number);
  drain_and_reap();
  return lines_after_ready(output_);
}

void RfcsimProcess::run_to_end(const std::string& scenario_path) {
  if (spawn(scenario_path)) drain_and_reap();
}
