// The part of the TCP connections that is the same on every system: the
// deadline, and connecting to each address of a name in turn.
#include "socket_io.h"

// The resolver's declarations are the one thing here that each system keeps
// under headers of its own.
#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <netdb.h>
#include <sys/socket.h>
#endif

#include <cstdio>

#include "platform/clock.h"
#include "socket_system.h"

namespace {

ConnectOutcome connect_address(const addrinfo& address, Deadline deadline, SocketId* connected) {
  const SocketId socket = open_socket();
  if (socket == no_socket) return ConnectOutcome::Failed;
  const ConnectOutcome outcome =
      connect_within(socket, address.ai_addr, static_cast<std::size_t>(address.ai_addrlen), deadline);
  if (outcome != ConnectOutcome::Connected) {
    close_socket(socket);
    return outcome;
  }
  send_without_delay(socket);
  *connected = socket;
  return outcome;
}

}  // namespace

Deadline deadline_after(int timeout_ms) { return Deadline{monotonic_ms() + timeout_ms}; }

int remaining_ms(Deadline deadline) {
  const long long left = deadline.at_ms - monotonic_ms();
  return left > 0 ? static_cast<int>(left) : 0;
}

ConnectOutcome connect_socket(const char* host, int port, int timeout_ms, SocketId* socket) {
  if (!start_sockets()) return ConnectOutcome::Failed;
  // Every address of the name counts against the one bound.
  const Deadline deadline = deadline_after(timeout_ms);
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  char service[16];
  std::snprintf(service, sizeof service, "%d", port);
  addrinfo* found = nullptr;
  if (getaddrinfo(host, service, &hints, &found) != 0 || found == nullptr) return ConnectOutcome::HostNotFound;
  // The outcome of the last address tried is the one reported.
  ConnectOutcome outcome = ConnectOutcome::Failed;
  for (const addrinfo* address = found; address != nullptr; address = address->ai_next) {
    outcome = connect_address(*address, deadline, socket);
    if (outcome == ConnectOutcome::Connected || outcome == ConnectOutcome::TimedOut) break;
  }
  freeaddrinfo(found);
  return outcome;
}
