#include "standin_state.h"

#include "common/handle_table.h"

namespace {

HandleTable<StandinConnection, standin_connection_limit> connections;
HandleTable<StandinDescription, standin_description_limit> descriptions;
HandleTable<StandinFunction, standin_function_limit> functions;

// The interface's opaque handle of a table's entry, and back.
template <typename Handle>
Handle as_handle(TableHandle handle) {
  return reinterpret_cast<Handle>(handle);
}

TableHandle table_handle(const void* handle) { return reinterpret_cast<TableHandle>(handle); }

}  // namespace

StandinConnection* take_free_connection(RFC_CONNECTION_HANDLE* handle) {
  TableHandle taken = no_table_handle;
  StandinConnection* connection = connections.take(&taken);
  if (connection != nullptr) *handle = as_handle<RFC_CONNECTION_HANDLE>(taken);
  return connection;
}

StandinConnection* find_connection(RFC_CONNECTION_HANDLE handle) { return connections.find(table_handle(handle)); }

void mark_broken(StandinConnection& connection) {
  if (connection.socket != no_socket) close_socket(connection.socket);
  connection.socket = no_socket;
  connection.broken = true;
}

void release_connection(StandinConnection& connection) {
  mark_broken(connection);
  connections.release(connection);
}

RFC_FUNCTION_DESC_HANDLE cached_description(std::string_view name) {
  for (TableHandle handle = 1; handle <= descriptions.capacity; ++handle) {
    const StandinDescription* description = descriptions.find(handle);
    if (description != nullptr && description->name.equals(name)) return as_handle<RFC_FUNCTION_DESC_HANDLE>(handle);
  }
  TableHandle taken = no_table_handle;
  StandinDescription* description = descriptions.take(&taken);
  if (description == nullptr) return nullptr;
  if (!description->name.assign(name)) {
    descriptions.release(*description);
    return nullptr;
  }
  return as_handle<RFC_FUNCTION_DESC_HANDLE>(taken);
}

const StandinDescription* find_description(RFC_FUNCTION_DESC_HANDLE handle) {
  return descriptions.find(table_handle(handle));
}

RFC_FUNCTION_HANDLE take_free_function(const StandinDescription& description) {
  TableHandle taken = no_table_handle;
  StandinFunction* function = functions.take(&taken);
  if (function == nullptr) return nullptr;
  function->description = &description;
  return as_handle<RFC_FUNCTION_HANDLE>(taken);
}

StandinFunction* find_function(RFC_FUNCTION_HANDLE handle) { return functions.find(table_handle(handle)); }

void release_function(StandinFunction& function) { functions.release(function); }
