// Frames sent and received over a connection, each exchange bounded by one
// deadline.
#pragma once

#include <cstddef>
#include <string_view>

#include "common/bounded_text.h"

#include "socket_io.h"
#include "wire_format.h"

/// How sending or waiting for a frame ended.
enum class FrameOutcome { Done, Closed, TimedOut, Unreadable, Failed };

/// Room for the payload of one received frame (binary, so not a text buffer).
using FramePayload = unsigned char[frame_payload_limit];

/// Sends a whole frame by `deadline`.
FrameOutcome send_frame(SocketId socket, const FrameWriter& frame, Deadline deadline);

/// Receives one frame, header and payload, into `payload` by `deadline`.
FrameOutcome receive_frame(SocketId socket, Deadline deadline, FrameKind* kind, FramePayload& payload,
                           std::size_t* payload_size);

/// How a logon ended.
enum class LogonOutcome { Accepted, Rejected, Failed };

/// Sends the logon frame to `partner` ("host:port") and waits for the
/// answer in `payload`, both within the one logon bound.  Unless the logon is
/// accepted, `status` and `message` say why, as the libraries report it: the
/// partner's reason when it rejected the logon, or how the exchange failed.
LogonOutcome exchange_logon(SocketId socket, std::string_view partner, std::string_view client, std::string_view user,
                            std::string_view password, std::string_view language, FramePayload& payload,
                            const char** status, TextBuffer& message);

/// Looks, without waiting, at a connection between calls: Done while the
/// partner is quiet, Closed when it went away, Unreadable when it sent
/// something nobody asked for.
FrameOutcome idle_connection_outcome(SocketId socket);

/// The status and message of a call whose frames could not be exchanged
/// with `partner` ("host:port"), as the libraries report it.
void describe_transfer_failure(FrameOutcome outcome, std::string_view partner, const char** status,
                               TextBuffer& message);

/// The status and message of a connection the partner aborted with the
/// abort frame in `payload`: its text, or ours naming `partner` when it gave none.
void describe_abort(const FramePayload& payload, std::size_t payload_size, std::string_view partner,
                    const char** status, TextBuffer& message);
