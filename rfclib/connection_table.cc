#include "connection_table.h"

#include "common/handle_table.h"

namespace {

HandleTable<Connection, connection_limit> connections;

}  // namespace

Connection* take_free_connection(rfc_handle* handle) {
  TableHandle taken = no_table_handle;
  Connection* connection = connections.take(&taken);
  if (connection != nullptr) *handle = static_cast<rfc_handle>(taken);
  return connection;
}

Connection* find_connection(rfc_handle handle) { return connections.find(handle); }

void mark_broken(Connection& connection) {
  if (connection.socket != no_socket) close_socket(connection.socket);
  connection.socket = no_socket;
  connection.broken = true;
  connection.call_pending = false;
}

void release_connection(Connection& connection) {
  mark_broken(connection);
  connections.release(connection);
}
