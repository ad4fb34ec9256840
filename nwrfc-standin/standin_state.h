// What the stand-in NetWeaver library holds behind its opaque handles.
#pragma once

#include <cstdint>

#include "common/bounded_text.h"
#include "frame_exchange.h"
#include "nwrfc_library.h"

/// A connection to rfcsim.
struct nwrfc_connection {
  bool in_use = false;
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
struct nwrfc_function_description {
  bool in_use = false;
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
struct nwrfc_data_container {
  bool in_use = false;
  const nwrfc_function_description* description = nullptr;
  int value_count = 0;
  ReplyValue values[reply_value_limit];
};

/// Most connections, descriptions and function handles at one time.
inline constexpr unsigned standin_connection_limit = 16;
inline constexpr unsigned standin_description_limit = 8;
inline constexpr unsigned standin_function_limit = 16;

/// A free connection, or null when all are in use.
nwrfc_connection* take_free_connection();
/// The open connection `handle` points at, or null for any other pointer.
nwrfc_connection* find_connection(RFC_CONNECTION_HANDLE handle);
/// Closes the connection's socket, if still open, and frees it.
void release_connection(nwrfc_connection& connection);
/// Closes the socket of a connection that broke; the handle stays open until closed.
void mark_broken(nwrfc_connection& connection);

/// The cached description of `name`, made on first use; null when the cache is full.
nwrfc_function_description* cached_description(std::string_view name);
/// The cached description `handle` points at, or null for any other pointer.
nwrfc_function_description* find_description(RFC_FUNCTION_DESC_HANDLE handle);

/// A free function handle for `description`, or null when all are in use.
nwrfc_data_container* take_free_function(const nwrfc_function_description& description);
/// The function handle `handle` points at, or null for any other pointer.
nwrfc_data_container* find_function(RFC_FUNCTION_HANDLE handle);
