// TCP connections of the RFC library, with a bound on every wait.
//
// The operating system's sockets sit behind these few functions; the pair
// socket_io_posix.cc / socket_io_win32.cc implements them.  Outcomes are
// classified here so that nothing above ever sees an OS error code.
#pragma once

#include <cstddef>
#include <cstdint>

/// An open TCP connection of the operating system.
using SocketId = std::intptr_t;
/// The value of a SocketId that holds no connection.
inline constexpr SocketId no_socket = -1;

/// How an attempt to connect ended.
enum class ConnectOutcome { connected, host_not_found, refused, timed_out, failed };
/// How sending or receiving ended.
enum class TransferOutcome { done, closed, timed_out, failed };
/// What an idle connection holds when looked at without waiting.
enum class PeerState { quiet, closed, unasked_data };

/// Connects to `host` (an IPv4 address or a name) at `port` within
/// `timeout_ms`; on success `*socket` is the connection, with Nagle's delay off.
ConnectOutcome connect_socket(const char* host, int port, int timeout_ms, SocketId* socket);

/// Sends all `count` bytes, waiting at most `timeout_ms` in all.
TransferOutcome send_all(SocketId socket, const unsigned char* bytes, std::size_t count, int timeout_ms);

/// Receives exactly `count` bytes, waiting at most `timeout_ms` in all.
TransferOutcome receive_exact(SocketId socket, unsigned char* bytes, std::size_t count, int timeout_ms);

/// Looks, without waiting, whether the partner has closed the connection or
/// sent something nobody asked for.
PeerState peek_peer(SocketId socket);

/// Closes the connection.
void close_socket(SocketId socket);
