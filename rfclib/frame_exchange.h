// Frames sent and received over a connection, each wait bounded.
#pragma once

#include <cstddef>

#include "socket_io.h"
#include "wire_format.h"

/// Longest wait for a connection to be accepted.
inline constexpr int connect_timeout_ms = 5000;
/// Longest wait for the answer to a logon.
inline constexpr int logon_timeout_ms = 5000;
/// Longest wait for the reply to a call; a server may take its time to work.
inline constexpr int reply_timeout_ms = 30000;
/// Longest wait for a frame to be taken by the network.
inline constexpr int send_timeout_ms = 5000;

/// How sending or waiting for a frame ended.
enum class FrameOutcome { done, closed, timed_out, unreadable, failed };

/// Room for the payload of one received frame (binary, so not a text buffer).
using FramePayload = unsigned char[frame_payload_limit];

/// Sends a whole frame.
FrameOutcome send_frame(SocketId socket, const FrameWriter& frame);

/// Receives one frame into `payload` within `timeout_ms`.
FrameOutcome receive_frame(SocketId socket, int timeout_ms, unsigned char* kind, FramePayload& payload,
                           std::size_t* payload_size);
