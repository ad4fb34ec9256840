// The bridge's open connections: a classic handle for each NetWeaver one.
#pragma once

#include "common/bounded_text.h"
#include "nwrfc_library.h"
#include "rfc_library.h"

/// One connection and the call made on it.
struct BridgeConnection {
  /// The NetWeaver library's connection.
  RFC_CONNECTION_HANDLE connection = nullptr;
  /// The call RfcCall prepared and RfcReceive runs; null when none waits.
  RFC_FUNCTION_HANDLE function = nullptr;
  /// The function module called last, for the texts of errors; cut, it only names.
  BoundedText<127> function_name;
  /// Where RfcReceive points the exception text; a longer one is cut (the
  /// caller keeps at most 255 characters of it).
  BoundedText<1023> reply_text;
};

/// Most connections open at one time.
inline constexpr unsigned bridge_connection_limit = 16;

/// A free entry, cleared, with its handle; null when all are in use.
BridgeConnection* take_free_bridge_connection(rfc_handle* handle);

/// The open connection of `handle`, or null for the null handle or one not open.
BridgeConnection* find_bridge_connection(rfc_handle handle);

/// Frees an entry; what it held must be released before.
void release_bridge_connection(BridgeConnection& connection);
