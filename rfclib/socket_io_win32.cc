#include "socket_system.h"

// Windows Sockets before windows.h, which would bring the older winsock.h.
#include <winsock2.h>
#include <ws2tcpip.h>

#include <windows.h>

namespace {

SOCKET native(SocketId socket_id) { return static_cast<SOCKET>(socket_id); }

enum class WaitOutcome { Ready, Failed, TimedOut };

// Waits until the socket is readable, or writable, until the deadline.  Only
// a connect reports its failure in the exception set; for reading that set
// would mean out-of-band data, which the partner never sends.
WaitOutcome wait_for(SOCKET socket, bool for_writing, Deadline deadline) {
  fd_set wanted;
  fd_set failed;
  FD_ZERO(&wanted);
  FD_ZERO(&failed);
  FD_SET(socket, &wanted);
  FD_SET(socket, &failed);
  const long left = remaining_ms(deadline);
  timeval timeout{left / 1000, (left % 1000) * 1000};
  const int ready =
      for_writing ? select(0, nullptr, &wanted, &failed, &timeout) : select(0, &wanted, nullptr, nullptr, &timeout);
  if (ready == 0) return WaitOutcome::TimedOut;
  if (ready < 0 || (for_writing && FD_ISSET(socket, &failed))) return WaitOutcome::Failed;
  return WaitOutcome::Ready;
}

}  // namespace

// Winsock is started once, on the first connection, and left running until
// the process ends: the library has no unload hook worth trusting.
bool start_sockets() {
  static bool started = false;
  if (!started) {
    WSADATA data;
    started = WSAStartup(MAKEWORD(2, 2), &data) == 0;
  }
  return started;
}

SocketId open_socket() {
  const SOCKET socket_handle = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (socket_handle == INVALID_SOCKET) return no_socket;
  u_long non_blocking = 1;
  ioctlsocket(socket_handle, FIONBIO, &non_blocking);
  return static_cast<SocketId>(socket_handle);
}

ConnectOutcome connect_within(SocketId socket_id, const sockaddr* address, std::size_t length, Deadline deadline) {
  const SOCKET socket_handle = native(socket_id);
  int error = 0;
  if (connect(socket_handle, address, static_cast<int>(length)) != 0) {
    error = WSAGetLastError();
    if (error == WSAEWOULDBLOCK) {
      const WaitOutcome waited = wait_for(socket_handle, true, deadline);
      if (waited == WaitOutcome::TimedOut) return ConnectOutcome::TimedOut;
      int size = sizeof error;
      error = 0;
      getsockopt(socket_handle, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &size);
      if (error == 0 && waited == WaitOutcome::Failed) error = WSAECONNREFUSED;
    }
  }
  if (error == 0) return ConnectOutcome::Connected;
  return error == WSAECONNREFUSED ? ConnectOutcome::Refused : ConnectOutcome::Failed;
}

void send_without_delay(SocketId socket_id) {
  const BOOL on = TRUE;
  setsockopt(native(socket_id), IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&on), sizeof on);
}

TransferOutcome send_all(SocketId socket_id, const unsigned char* bytes, std::size_t count, Deadline deadline) {
  while (count > 0) {
    const int chunk = count > 65536 ? 65536 : static_cast<int>(count);
    const int sent = send(native(socket_id), reinterpret_cast<const char*>(bytes), chunk, 0);
    if (sent > 0) {
      bytes += sent;
      count -= static_cast<std::size_t>(sent);
      continue;
    }
    const int error = WSAGetLastError();
    if (sent < 0 && error == WSAEWOULDBLOCK) {
      const WaitOutcome waited = wait_for(native(socket_id), true, deadline);
      if (waited == WaitOutcome::TimedOut) return TransferOutcome::TimedOut;
      if (waited == WaitOutcome::Failed) return TransferOutcome::Failed;
      continue;
    }
    return (error == WSAECONNRESET || error == WSAECONNABORTED || error == WSAESHUTDOWN) ? TransferOutcome::Closed
                                                                                         : TransferOutcome::Failed;
  }
  return TransferOutcome::Done;
}

TransferOutcome receive_exact(SocketId socket_id, unsigned char* bytes, std::size_t count, Deadline deadline) {
  while (count > 0) {
    const int chunk = count > 65536 ? 65536 : static_cast<int>(count);
    const int got = recv(native(socket_id), reinterpret_cast<char*>(bytes), chunk, 0);
    if (got > 0) {
      bytes += got;
      count -= static_cast<std::size_t>(got);
      continue;
    }
    if (got == 0) return TransferOutcome::Closed;
    const int error = WSAGetLastError();
    if (error == WSAEWOULDBLOCK) {
      const WaitOutcome waited = wait_for(native(socket_id), false, deadline);
      if (waited == WaitOutcome::TimedOut) return TransferOutcome::TimedOut;
      if (waited == WaitOutcome::Failed) return TransferOutcome::Failed;
      continue;
    }
    return (error == WSAECONNRESET || error == WSAECONNABORTED) ? TransferOutcome::Closed : TransferOutcome::Failed;
  }
  return TransferOutcome::Done;
}

PeerState peek_peer(SocketId socket_id) {
  char byte = 0;
  // The socket is non-blocking, so the peek returns at once.
  const int got = recv(native(socket_id), &byte, 1, MSG_PEEK);
  if (got > 0) return PeerState::UnaskedData;
  if (got == 0) return PeerState::Closed;
  return WSAGetLastError() == WSAEWOULDBLOCK ? PeerState::Quiet : PeerState::Closed;
}

void close_socket(SocketId socket_id) { closesocket(native(socket_id)); }
