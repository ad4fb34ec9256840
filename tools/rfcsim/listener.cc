#include "listener.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <thread>

#include "session.h"

namespace {

/// Most clients served at one time; one more is turned away at once.
constexpr int session_limit = 512;

std::atomic<int> open_sessions{0};
// Written by the signal handler, read by the accept loop: the self-pipe trick.
int stop_pipe[2] = {-1, -1};

void on_stop_signal(int) {
  const char byte = 1;
  const ssize_t ignored = write(stop_pipe[1], &byte, 1);
  (void)ignored;
}

// A socket listening on the system's address, or -1 with `reason` saying why not.
int listen_on(const SystemScenario& system, std::string& reason) {
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_PASSIVE;
  addrinfo* found = nullptr;
  const std::string port = std::to_string(system.port);
  const int lookup = getaddrinfo(system.host.c_str(), port.c_str(), &hints, &found);
  if (lookup != 0 || found == nullptr) {
    reason = lookup != 0 ? gai_strerror(lookup) : "no address";
    return -1;
  }
  int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  const int on = 1;
  if (fd >= 0) setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  if (fd < 0 || bind(fd, found->ai_addr, found->ai_addrlen) != 0 || listen(fd, 128) != 0) {
    // Taken before close() may change errno.
    reason = std::strerror(errno);
    if (fd >= 0) close(fd);
    fd = -1;
  }
  freeaddrinfo(found);
  return fd;
}

void start_session(int fd, const SystemScenario& system) {
  if (open_sessions.load() >= session_limit) {
    close(fd);
    return;
  }
  const int on = 1;
  setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
  ++open_sessions;
  std::thread([fd, &system] {
    serve_session(fd, system);
    --open_sessions;
  }).detach();
}

void accept_clients(int listening, const SystemScenario& system) {
  for (;;) {
    const int fd = accept4(listening, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0) return;  // nothing more waiting (or a client that left at once)
    start_session(fd, system);
  }
}

}  // namespace

bool install_stop_signals() {
  if (pipe2(stop_pipe, O_CLOEXEC | O_NONBLOCK) != 0) return false;
  struct sigaction action {};
  action.sa_handler = on_stop_signal;
  sigemptyset(&action.sa_mask);
  signal(SIGPIPE, SIG_IGN);
  return sigaction(SIGTERM, &action, nullptr) == 0 && sigaction(SIGINT, &action, nullptr) == 0;
}

bool listen_for_systems(const std::vector<SystemScenario>& systems, std::vector<int>& sockets, std::string& error) {
  for (const SystemScenario& system : systems) {
    std::string reason;
    const int fd = listen_on(system, reason);
    if (fd < 0) {
      for (int opened : sockets) close(opened);
      sockets.clear();
      error = "cannot listen on " + system.listen + ": " + reason;
      return false;
    }
    sockets.push_back(fd);
  }
  return true;
}

void serve_until_stopped(const std::vector<SystemScenario>& systems, const std::vector<int>& sockets) {
  std::vector<pollfd> watched;
  watched.push_back(pollfd{stop_pipe[0], POLLIN, 0});
  for (int fd : sockets) watched.push_back(pollfd{fd, POLLIN, 0});
  bool stopping = false;
  while (!stopping) {
    // Each wait is bounded; the stop signal ends it at once anyway.
    const int ready = poll(watched.data(), watched.size(), 1000);
    if (ready < 0 && errno != EINTR) break;
    if (ready <= 0) continue;
    stopping = watched[0].revents != 0;
    for (std::size_t i = 1; !stopping && i < watched.size(); ++i)
      if (watched[i].revents & POLLIN) accept_clients(watched[i].fd, systems[i - 1]);
  }
  for (int fd : sockets) close(fd);
}
