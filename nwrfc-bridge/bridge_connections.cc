#include "bridge_connections.h"

namespace {

BridgeConnection connections[bridge_connection_limit];

}  // namespace

BridgeConnection* take_free_bridge_connection(rfc_handle* handle) {
  for (unsigned index = 0; index < bridge_connection_limit; ++index) {
    BridgeConnection& connection = connections[index];
    if (connection.in_use) continue;
    connection.in_use = true;
    connection.connection = nullptr;
    connection.function = nullptr;
    connection.function_name.clear();
    connection.reply_text.clear();
    *handle = index + 1;
    return &connection;
  }
  return nullptr;
}

BridgeConnection* find_bridge_connection(rfc_handle handle) {
  if (handle == RFC_NULL_HANDLE || handle > bridge_connection_limit) return nullptr;
  BridgeConnection& connection = connections[handle - 1];
  return connection.in_use ? &connection : nullptr;
}

void release_bridge_connection(BridgeConnection& connection) {
  connection.in_use = false;
  connection.connection = nullptr;
  connection.function = nullptr;
}
