// What the stand-in NetWeaver library holds behind its opaque handles.
//
// A handle is the number of its table entry, as a pointer-sized value; the
// structs the interface names stay incomplete, as in the vendor's library,
// and no handle is ever an address the caller could read through.
#pragma once

#include <cstdint>
#include <string_view>

#include "common/bounded_text.h"
#include "frame_exchange.h"
#include "nwrfc_library.h"

/// A connection to rfcsim.
struct StandinConnection {
  /// The TCP connection; no_socket once closed.
  SocketId socket = no_socket;
  /// Set when the connection broke; its socket is closed then.
  bool broken = false;
  /// "host:port", for the texts of errors.
  BoundedText<300> partner;
  /// The payload of the frame received last.
  FramePayload payload;
};

/// A function module's description in the metadata cache; the stand-in knows
/// no metadata, so a description is only the name.
struct StandinDescription {
  BoundedText<127> name;
};

/// One integer value of a reply.
struct ReplyValue {
  BoundedText<63> name;
  std::int32_t value = 0;
};

/// Most values a function handle keeps; a reply's further values are dropped.
inline constexpr int reply_value_limit = 32;

/// A call of a function module and, after RfcInvoke, the values of its reply.
struct StandinFunction {
  const StandinDescription* description = nullptr;
  int value_count = 0;
  ReplyValue values[reply_value_limit];
};

/// Most connections, descriptions and function handles at one time.
inline constexpr unsigned standin_connection_limit = 16;
inline constexpr unsigned standin_description_limit = 8;
inline constexpr unsigned standin_function_limit = 16;

/// A free connection, cleared, with its handle; null when all are in use.
StandinConnection* take_free_connection(RFC_CONNECTION_HANDLE* handle);
/// The open connection of `handle`, or null for any other value.
StandinConnection* find_connection(RFC_CONNECTION_HANDLE handle);
/// Closes the connection's socket, if still open, and frees it.
void release_connection(StandinConnection& connection);
/// Closes the socket of a connection that broke; the handle stays open until closed.
void mark_broken(StandinConnection& connection);

/// The handle of the cached description of `name`, made on first use; null
/// when the cache is full.  Descriptions are never freed.
RFC_FUNCTION_DESC_HANDLE cached_description(std::string_view name);
/// The cached description of `handle`, or null for any other value.
const StandinDescription* find_description(RFC_FUNCTION_DESC_HANDLE handle);

/// A free function handle for `description`, with no values yet; null when
/// all are in use.
RFC_FUNCTION_HANDLE take_free_function(const StandinDescription& description);
/// The function of `handle`, or null for any other value.
StandinFunction* find_function(RFC_FUNCTION_HANDLE handle);
/// Frees a function handle.
void release_function(StandinFunction& function);
