// Frames sent and received over a connection, each exchange bounded by one
// deadline.
#pragma once

#include <cstddef>
#include <string_view>

#include "common/bounded_text.h"

#include "socket_io.h"
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

/// Room for the payload of one received frame (binary, so not a text buffer).
using FramePayload = unsigned char[frame_payload_limit];

/// Sends a whole frame by `deadline`.
FrameOutcome send_frame(SocketId socket, const FrameWriter& frame, Deadline deadline);

/// Receives one frame, header and payload, into `payload` by `deadline`.
FrameOutcome receive_frame(SocketId socket, Deadline deadline, unsigned char* kind, FramePayload& payload,
                           std::size_t* payload_size);

/// Sends the logon frame and waits for the answer, both within the one logon
/// bound: done, with the answer's kind and payload, or how the exchange failed.
FrameOutcome exchange_logon(SocketId socket, std::string_view client, std::string_view user,
                            std::string_view password, std::string_view language, unsigned char* kind,
                            FramePayload& payload, std::size_t* payload_size);

/// The status and message of a call whose frames could not be exchanged
/// with `partner` ("host:port"), as the libraries report it.
void describe_transfer_failure(FrameOutcome outcome, std::string_view partner, const char** status,
                               TextBuffer& message);

/// The status and message of a logon whose answer did not come as a frame
/// of its own (`outcome` done: a frame of the wrong kind came).
void describe_logon_answer_failure(FrameOutcome outcome, std::string_view partner, const char** status,
                                   TextBuffer& message);
