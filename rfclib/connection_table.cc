#include "connection_table.h"

namespace {

Connection connections[connection_limit];

}  // namespace

Connection* take_free_connection(rfc_handle* handle) {
  for (unsigned index = 0; index < connection_limit; ++index) {
    Connection& connection = connections[index];
    if (connection.in_use) continue;
    connection.in_use = true;
    connection.socket = no_socket;
    connection.broken = false;
    connection.call_pending = false;
    connection.partner.clear();
    connection.function.clear();
    connection.reply_text.clear();
    *handle = index + 1;
    return &connection;
  }
  return nullptr;
}

Connection* find_connection(rfc_handle handle) {
  if (handle == RFC_NULL_HANDLE || handle > connection_limit) return nullptr;
  Connection& connection = connections[handle - 1];
  return connection.in_use ? &connection : nullptr;
}

void mark_broken(Connection& connection) {
  if (connection.socket != no_socket) close_socket(connection.socket);
  connection.socket = no_socket;
  connection.broken = true;
  connection.call_pending = false;
}

void release_connection(Connection& connection) {
  mark_broken(connection);
  connection.in_use = false;
}
