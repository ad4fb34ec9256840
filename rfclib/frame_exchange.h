// Frames sent and received over a connection, each exchange bounded by one
// deadline.
#pragma once

#include <cstddef>

#include "connection_table.h"
#include "wire_format.h"

/// Longest wait for a connection to be accepted.
inline constexpr int connect_timeout_ms = 5000;
/// Longest a logon may take, from sending it to the last byte of the answer.
inline constexpr int logon_timeout_ms = 5000;
/// Longest wait for the whole reply to a call; a server may take its time to work.
inline constexpr int reply_timeout_ms = 30000;
/// Longest wait for a call to be taken by the network.
inline constexpr int send_timeout_ms = 5000;

/// How sending or waiting for a frame ended.
enum class FrameOutcome { done, closed, timed_out, unreadable, failed };

/// Sends a whole frame by `deadline`.
FrameOutcome send_frame(Connection& connection, const FrameWriter& frame, Deadline deadline);

/// Receives one frame, header and payload, into the connection's payload
/// buffer by `deadline`.
FrameOutcome receive_frame(Connection& connection, Deadline deadline, unsigned char* kind, std::size_t* payload_size);
