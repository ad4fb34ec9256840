#include "bridge_connections.h"

#include "common/handle_table.h"

namespace {

HandleTable<BridgeConnection, bridge_connection_limit> connections;

}  // namespace

BridgeConnection* take_free_bridge_connection(rfc_handle* handle) {
  TableHandle taken = no_table_handle;
  BridgeConnection* connection = connections.take(&taken);
  if (connection != nullptr) *handle = static_cast<rfc_handle>(taken);
  return connection;
}

BridgeConnection* find_bridge_connection(rfc_handle handle) { return connections.find(handle); }

void release_bridge_connection(BridgeConnection& connection) { connections.release(connection); }
