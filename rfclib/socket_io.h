// TCP connections of the RFC library, with a bound on every wait.
//
// The operating system's sockets sit behind these few functions:
// socket_io.cc implements what is the same on every system, the pair
// socket_io_posix.cc / socket_io_win32.cc the rest (socket_system.h).
// Outcomes are classified here so that nothing above ever sees an OS error
// code.
#pragma once

#include <cstddef>
#include <cstdint>

/// An open TCP connection of the operating system.
using SocketId = std::intptr_t;
/// The value of a SocketId that holds no connection.
inline constexpr SocketId no_socket = -1;

/// How an attempt to connect ended.
enum class ConnectOutcome { Connected, HostNotFound, Refused, TimedOut, Failed };
/// How sending or receiving ended.
enum class TransferOutcome { Done, Closed, TimedOut, Failed };
/// What an idle connection holds when looked at without waiting.
enum class PeerState { Quiet, Closed, UnaskedData };

/// The moment by which a step must be over, on a clock that counts elapsed
/// real time.  Several transfers given the same deadline share one bound, so
/// a partner that sends a byte now and then cannot stretch it.
struct Deadline {
  /// Milliseconds on the monotonic clock (platform/clock.h).
  long long at_ms = 0;
};

/// The deadline `timeout_ms` from now.
Deadline deadline_after(int timeout_ms);

/// Connects to `host` (an IPv4 address or a name) at `port` within
/// `timeout_ms` in all, every address of the name included; on success
/// `*socket` is the connection, with Nagle's delay off.
ConnectOutcome connect_socket(const char* host, int port, int timeout_ms, SocketId* socket);

/// Sends all `count` bytes by `deadline`.
TransferOutcome send_all(SocketId socket, const unsigned char* bytes, std::size_t count, Deadline deadline);

/// Receives exactly `count` bytes by `deadline`.
TransferOutcome receive_exact(SocketId socket, unsigned char* bytes, std::size_t count, Deadline deadline);

/// Looks, without waiting, whether the partner has closed the connection or
/// sent something nobody asked for.
PeerState peek_peer(SocketId socket);

/// Closes the connection.
void close_socket(SocketId socket);
