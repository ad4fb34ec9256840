// The library's open connections, found by their handle.
#pragma once

#include "common/bounded_text.h"
#include "frame_exchange.h"
#include "rfc_library.h"

/// One RFC connection and what its calls leave behind.
struct Connection {
  /// The TCP connection to the partner; no_socket once closed.
  SocketId socket = no_socket;
  /// Set when the connection broke; its socket is closed then.
  bool broken = false;
  /// Set by RfcCall, cleared by RfcReceive.
  bool call_pending = false;
  /// Set by RfcCall: the call's one bound, from sending it to the last byte of its reply.
  Deadline call_deadline{};
  /// "host:port", for the texts of errors.
  BoundedText<300> partner;
  /// The function called last, for the texts of errors; cut, it only names.
  BoundedText<127> function;
  /// The text of the last reply, where RfcReceive points the exception text;
  /// a longer one is cut (the caller keeps at most 255 characters of it).
  BoundedText<1023> reply_text;
  /// The payload of the frame received last.
  FramePayload payload;
};

/// Most connections open at one time.
inline constexpr unsigned connection_limit = 16;

/// A free connection, cleared, with its handle; null when all are in use.
Connection* take_free_connection(rfc_handle* handle);

/// The open connection of `handle`, or null for the null handle or one not open.
Connection* find_connection(rfc_handle handle);

/// Closes the connection's socket, if still open, and frees it.
void release_connection(Connection& connection);

/// Closes the socket of a connection that broke; the handle stays open until RfcClose.
void mark_broken(Connection& connection);
