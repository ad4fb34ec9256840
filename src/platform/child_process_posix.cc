#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "common/time_budget.h"
#include "platform/child_process.h"
#include "platform/clock.h"
#include "platform/files.h"

extern char** environ;

namespace {

// A child that closed its output is about to end; it is looked at again soon.
constexpr int closing_child_interval_ms = 5;
constexpr std::size_t most_waited_children = 64;
constexpr std::size_t read_chunk = 4096;

int exit_code_of(int status) {
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return 128;
}

void pause_one_ms() {
  const timespec interval{0, 1000000L};
  nanosleep(&interval, nullptr);
}

void close_pipe(int (&ends)[2]) {
  for (int& end : ends) {
    if (end >= 0) close(end);
    end = -1;
  }
}

// The input goes into the pipe before the child exists: it is far smaller
// than a pipe holds, so the write never waits, and no child can have gone
// away yet and turn the write into a SIGPIPE.
bool fill_input_pipe(int descriptor, std::string_view input) {
  if (fcntl(descriptor, F_SETFL, O_NONBLOCK) != 0) return false;
  while (!input.empty()) {
    const ssize_t written = write(descriptor, input.data(), input.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    input.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

bool spawn(const ChildCommand& command, int input, int output, pid_t& pid) {
  posix_spawn_file_actions_t actions;
  if (posix_spawn_file_actions_init(&actions) != 0) return false;
  // Every pipe end is close-on-exec; the two copies made here are not.
  const bool arranged = posix_spawn_file_actions_adddup2(&actions, input, STDIN_FILENO) == 0 &&
                        posix_spawn_file_actions_adddup2(&actions, output, STDOUT_FILENO) == 0;
  const bool spawned = arranged && posix_spawn(&pid, command.program, &actions, nullptr,
                                               const_cast<char* const*>(command.arguments), environ) == 0;
  posix_spawn_file_actions_destroy(&actions);
  return spawned;
}

// A launcher may have the sensor ignore SIGCHLD, which the system keeps
// across exec; its children would then be reaped unasked and waitpid would
// find none.  The default disposition makes them wait for their parent.
void let_children_be_waited_for() {
  struct sigaction current {};
  if (sigaction(SIGCHLD, nullptr, &current) != 0) return;
  if (current.sa_handler != SIG_IGN && (current.sa_flags & SA_NOCLDWAIT) == 0) return;
  struct sigaction wait_for_them {};
  wait_for_them.sa_handler = SIG_DFL;
  sigemptyset(&wait_for_them.sa_mask);
  sigaction(SIGCHLD, &wait_for_them, nullptr);
}

}  // namespace

bool ChildProcess::launch(const ChildCommand& command, std::string_view input) {
  int input_pipe[2] = {-1, -1}, output_pipe[2] = {-1, -1};
  pid_t pid = 0;
  let_children_be_waited_for();
  const bool started = pipe2(input_pipe, O_CLOEXEC) == 0 && pipe2(output_pipe, O_CLOEXEC) == 0 &&
                       fill_input_pipe(input_pipe[1], input) && fcntl(output_pipe[0], F_SETFL, O_NONBLOCK) == 0 &&
                       spawn(command, input_pipe[0], output_pipe[1], pid);
  close_pipe(input_pipe);
  if (!started) {
    close_pipe(output_pipe);
    return false;
  }
  close(output_pipe[1]);
  process_ = pid;
  process_id_ = static_cast<unsigned long>(pid);
  output_ = output_pipe[0];
  return true;
}

ChildOutputState ChildProcess::read_output(TextBuffer& output) {
  if (output_ < 0) return ChildOutputState::Closed;
  char chunk[read_chunk];
  for (;;) {
    // One byte more than there is room for tells an overflow from a full buffer.
    const std::size_t wanted = output.room() + 1 < sizeof chunk ? output.room() + 1 : sizeof chunk;
    const ssize_t got = read(static_cast<int>(output_), chunk, wanted);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return errno == EAGAIN ? ChildOutputState::Open : ChildOutputState::Closed;
    if (got == 0) {
      close_output();
      return ChildOutputState::Closed;
    }
    if (!output.append(std::string_view(chunk, static_cast<std::size_t>(got)))) return ChildOutputState::Overflow;
  }
}

bool ChildProcess::ended() {
  if (!running_) return true;
  int status = 0;
  const pid_t reaped = waitpid(static_cast<pid_t>(process_), &status, WNOHANG);
  if (reaped == 0) return false;
  running_ = false;
  exit_code_ = reaped > 0 ? exit_code_of(status) : 128;
  return true;
}

void ChildProcess::kill() {
  if (!running_) return;
  ::kill(static_cast<pid_t>(process_), SIGKILL);
  const long long deadline = monotonic_ms() + child_reap_wait_ms;
  while (!ended() && monotonic_ms() < deadline) pause_one_ms();
  running_ = false;
  exit_code_ = 128 + SIGKILL;
}

long long ChildProcess::wait_handle() const { return output_; }

void ChildProcess::close_output() {
  if (output_ >= 0) close(static_cast<int>(output_));
  output_ = -1;
}

void wait_for_children(ChildProcess* const* children, std::size_t count, int timeout_ms) {
  pollfd watched[most_waited_children];
  nfds_t watched_count = 0;
  for (std::size_t i = 0; i < count && watched_count < most_waited_children; ++i) {
    if (!children[i]->running()) continue;
    const long long output = children[i]->wait_handle();
    if (output < 0) {
      if (timeout_ms > closing_child_interval_ms) timeout_ms = closing_child_interval_ms;
      continue;
    }
    watched[watched_count++] = pollfd{static_cast<int>(output), POLLIN, 0};
  }
  poll(watched, watched_count, timeout_ms < 0 ? 0 : timeout_ms);
}

bool write_parent_identity(TextBuffer& identity) { return identity.assignf("%ld", static_cast<long>(getpid())); }

bool stay_bound_to_parent(const char* parent_identity) {
  char* end = nullptr;
  const long parent = std::strtol(parent_identity, &end, 10);
  if (end == parent_identity || *end != '\0' || parent <= 1) return false;
  // Asked for first and checked after: a parent that went before the request
  // has already handed this process to another, which the check sees.
  return prctl(PR_SET_PDEATHSIG, SIGKILL) == 0 && getppid() == static_cast<pid_t>(parent);
}

bool executable_path(TextBuffer& path) {
  char found[path_capacity + 1];
  const ssize_t length = readlink("/proc/self/exe", found, sizeof found - 1);
  return length > 0 && path.assign_whole(std::string_view(found, static_cast<std::size_t>(length)));
}

bool read_standard_input(TextBuffer& input) {
  input.clear();
  char chunk[read_chunk];
  for (;;) {
    const ssize_t got = read(STDIN_FILENO, chunk, sizeof chunk);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return false;
    if (got == 0) return true;
    if (!input.append_whole(std::string_view(chunk, static_cast<std::size_t>(got)))) return false;
  }
}
