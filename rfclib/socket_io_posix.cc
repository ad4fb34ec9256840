#include "socket_system.h"

#include <errno.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int native(SocketId socket) { return static_cast<int>(socket); }

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

}  // namespace

bool start_sockets() { return true; }

SocketId open_socket() {
  const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  return fd < 0 ? no_socket : fd;
}

ConnectOutcome connect_within(SocketId socket_id, const sockaddr* address, std::size_t length, Deadline deadline) {
  const int fd = native(socket_id);
  int error = 0;
  if (connect(fd, address, static_cast<socklen_t>(length)) != 0) {
    error = errno;
    if (error == EINPROGRESS) {
      if (!wait_for(fd, POLLOUT, deadline)) return ConnectOutcome::TimedOut;
      socklen_t size = sizeof error;
      if (getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size) != 0) error = errno;
    }
  }
  if (error == 0) return ConnectOutcome::Connected;
  return error == ECONNREFUSED ? ConnectOutcome::Refused : ConnectOutcome::Failed;
}

void send_without_delay(SocketId socket_id) {
  const int on = 1;
  setsockopt(native(socket_id), IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
}

TransferOutcome send_all(SocketId socket_id, const unsigned char* bytes, std::size_t count, Deadline deadline) {
  const int fd = native(socket_id);
  while (count > 0) {
    const ssize_t sent = send(fd, bytes, count, MSG_NOSIGNAL);
    if (sent > 0) {
      bytes += sent;
      count -= static_cast<std::size_t>(sent);
      continue;
    }
    if (sent < 0 && errno == EINTR) continue;
    if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
      if (!wait_for(fd, POLLOUT, deadline)) return TransferOutcome::TimedOut;
      continue;
    }
    return (sent < 0 && (errno == EPIPE || errno == ECONNRESET)) ? TransferOutcome::Closed : TransferOutcome::Failed;
  }
  return TransferOutcome::Done;
}

TransferOutcome receive_exact(SocketId socket_id, unsigned char* bytes, std::size_t count, Deadline deadline) {
  const int fd = native(socket_id);
  while (count > 0) {
    const ssize_t got = recv(fd, bytes, count, 0);
    if (got > 0) {
      bytes += got;
      count -= static_cast<std::size_t>(got);
      continue;
    }
    if (got == 0) return TransferOutcome::Closed;
    if (errno == EINTR) continue;
    if (errno == EAGAIN || errno == EWOULDBLOCK) {
      if (!wait_for(fd, POLLIN, deadline)) return TransferOutcome::TimedOut;
      continue;
    }
    return errno == ECONNRESET ? TransferOutcome::Closed : TransferOutcome::Failed;
  }
  return TransferOutcome::Done;
}

PeerState peek_peer(SocketId socket_id) {
  unsigned char byte = 0;
  for (;;) {
    const ssize_t got = recv(native(socket_id), &byte, 1, MSG_PEEK | MSG_DONTWAIT);
    if (got > 0) return PeerState::UnaskedData;
    if (got == 0) return PeerState::Closed;
    if (errno == EINTR) continue;
    return (errno == EAGAIN || errno == EWOULDBLOCK) ? PeerState::Quiet : PeerState::Closed;
  }
}

void close_socket(SocketId socket_id) { close(native(socket_id)); }
