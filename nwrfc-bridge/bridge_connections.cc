#include "bridge_connections.h"

#include "common/handle_table.h"

namespace {

HandleTable<BridgeConnection, bridge_connection_limit> connections;

}  // namespace

BridgeConnection* take_free_bridge_connection(rfc_handle* handle) {
  TableHandle taken = no_table_handle;
  BridgeConnection* connection = connections.take(&taken);
  if (connection == nullptr) return nullptr;
  connection->connection = nullptr;
  connection->function = nullptr;
  connection->function_name.clear();
  connection->reply_text.clear();
  *handle = static_cast<rfc_handle>(taken);
  return connection;
}

BridgeConnection* find_bridge_connection(rfc_handle handle) { return connections.find(handle); }

void release_bridge_connection(BridgeConnection& connection) {
  connection.connection = nullptr;
  connection.function = nullptr;
  connections.release(connection);
}
