// What the socket functions that are the same on every system (socket_io.cc)
// take from each system's socket file (socket_io_posix.cc, socket_io_win32.cc):
// the socket calls, their error codes and the wait for a connection.
#pragma once

#include <cstddef>

#include "socket_io.h"

struct sockaddr;

/// Readies the system's sockets, once per process; false when they cannot be used.
bool start_sockets();

/// A new non-blocking TCP socket, or no_socket when none can be had.
SocketId open_socket();

/// Connects `socket` to the address of `length` bytes at `address`, waiting
/// until `deadline` at most; the socket stays open whatever the outcome.
ConnectOutcome connect_within(SocketId socket, const sockaddr* address, std::size_t length, Deadline deadline);

/// Turns Nagle's delay off, so that a frame goes out at once.
void send_without_delay(SocketId socket);

/// Milliseconds left until `deadline`; 0 once it has passed.
int remaining_ms(Deadline deadline);
