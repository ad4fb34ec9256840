#include "socket_io.h"

#include <errno.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>

namespace {

long long now_ms() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<long long>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

int remaining_ms(Deadline deadline) {
  const long long left = deadline.at_ms - now_ms();
  return left > 0 ? static_cast<int>(left) : 0;
}

// Waits for `events` until the deadline; false when the time ran out.
bool wait_for(int fd, short events, Deadline deadline) {
  for (;;) {
    pollfd watched{fd, events, 0};
    const int ready = poll(&watched, 1, remaining_ms(deadline));
    if (ready > 0) return true;
    if (ready == 0) return false;
    if (errno != EINTR) return true;  // the following call reports the error
  }
}

ConnectOutcome connect_address(const sockaddr* address, socklen_t length, Deadline deadline, int* connected) {
  const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (fd < 0) return ConnectOutcome::failed;
  int error = 0;
  if (connect(fd, address, length) != 0) {
    error = errno;
    if (error == EINPROGRESS) {
      if (!wait_for(fd, POLLOUT, deadline)) {
        close(fd);
        return ConnectOutcome::timed_out;
      }
      socklen_t size = sizeof error;
      if (getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size) != 0) error = errno;
    }
  }
  if (error != 0) {
    close(fd);
    return error == ECONNREFUSED ? ConnectOutcome::refused : ConnectOutcome::failed;
  }
  const int on = 1;
  setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
  *connected = fd;
  return ConnectOutcome::connected;
}

}  // namespace

Deadline deadline_after(int timeout_ms) { return Deadline{now_ms() + timeout_ms}; }

ConnectOutcome connect_socket(const char* host, int port, int timeout_ms, SocketId* socket_id) {
  const Deadline deadline = deadline_after(timeout_ms);
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  char service[16];
  std::snprintf(service, sizeof service, "%d", port);
  addrinfo* found = nullptr;
  if (getaddrinfo(host, service, &hints, &found) != 0 || found == nullptr) return ConnectOutcome::host_not_found;
  // The outcome of the last address tried is the one reported.
  ConnectOutcome outcome = ConnectOutcome::failed;
  for (addrinfo* address = found; address != nullptr; address = address->ai_next) {
    int fd = -1;
    outcome = connect_address(address->ai_addr, address->ai_addrlen, deadline, &fd);
    if (outcome == ConnectOutcome::connected) {
      *socket_id = fd;
      break;
    }
    if (outcome == ConnectOutcome::timed_out) break;
  }
  freeaddrinfo(found);
  return outcome;
}

TransferOutcome send_all(SocketId socket_id, const unsigned char* bytes, std::size_t count, Deadline deadline) {
  const int fd = static_cast<int>(socket_id);
  while (count > 0) {
    const ssize_t sent = send(fd, bytes, count, MSG_NOSIGNAL);
    if (sent > 0) {
      bytes += sent;
      count -= static_cast<std::size_t>(sent);
      continue;
    }
    if (sent < 0 && errno == EINTR) continue;
    if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
      if (!wait_for(fd, POLLOUT, deadline)) return TransferOutcome::timed_out;
      continue;
    }
    return (sent < 0 && (errno == EPIPE || errno == ECONNRESET)) ? TransferOutcome::closed : TransferOutcome::failed;
  }
  return TransferOutcome::done;
}

TransferOutcome receive_exact(SocketId socket_id, unsigned char* bytes, std::size_t count, Deadline deadline) {
  const int fd = static_cast<int>(socket_id);
  while (count > 0) {
    const ssize_t got = recv(fd, bytes, count, 0);
    if (got > 0) {
      bytes += got;
      count -= static_cast<std::size_t>(got);
      continue;
    }
    if (got == 0) return TransferOutcome::closed;
    if (errno == EINTR) continue;
    if (errno == EAGAIN || errno == EWOULDBLOCK) {
      if (!wait_for(fd, POLLIN, deadline)) return TransferOutcome::timed_out;
      continue;
    }
    return errno == ECONNRESET ? TransferOutcome::closed : TransferOutcome::failed;
  }
  return TransferOutcome::done;
}

PeerState peek_peer(SocketId socket_id) {
  unsigned char byte = 0;
  for (;;) {
    const ssize_t got = recv(static_cast<int>(socket_id), &byte, 1, MSG_PEEK | MSG_DONTWAIT);
    if (got > 0) return PeerState::unasked_data;
    if (got == 0) return PeerState::closed;
    if (errno == EINTR) continue;
    return (errno == EAGAIN || errno == EWOULDBLOCK) ? PeerState::quiet : PeerState::closed;
  }
}

void close_socket(SocketId socket_id) { close(static_cast<int>(socket_id)); }
