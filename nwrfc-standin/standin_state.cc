#include "standin_state.h"

namespace {

nwrfc_connection connections[standin_connection_limit];
nwrfc_function_description descriptions[standin_description_limit];
nwrfc_data_container functions[standin_function_limit];

// The entry of `table` that `handle` points at, when it is one in use; a
// pointer the library never gave out is found in none.
template <typename Entry, unsigned Count>
Entry* find_in(Entry (&table)[Count], const void* handle) {
  for (Entry& entry : table)
    if (&entry == handle && entry.in_use) return &entry;
  return nullptr;
}

}  // namespace

nwrfc_connection* take_free_connection() {
  for (nwrfc_connection& connection : connections) {
    if (connection.in_use) continue;
    connection.in_use = true;
    connection.socket = no_socket;
    connection.broken = false;
    connection.partner.clear();
    return &connection;
  }
  return nullptr;
}

nwrfc_connection* find_connection(RFC_CONNECTION_HANDLE handle) { return find_in(connections, handle); }

void mark_broken(nwrfc_connection& connection) {
  if (connection.socket != no_socket) close_socket(connection.socket);
  connection.socket = no_socket;
  connection.broken = true;
}

void release_connection(nwrfc_connection& connection) {
  mark_broken(connection);
  connection.in_use = false;
}

nwrfc_function_description* cached_description(std::string_view name) {
  nwrfc_function_description* free_entry = nullptr;
  for (nwrfc_function_description& description : descriptions) {
    if (description.in_use && description.name.equals(name)) return &description;
    if (!description.in_use && free_entry == nullptr) free_entry = &description;
  }
  if (free_entry == nullptr || !free_entry->name.assign(name)) return nullptr;
  free_entry->in_use = true;
  return free_entry;
}

nwrfc_function_description* find_description(RFC_FUNCTION_DESC_HANDLE handle) {
  return find_in(descriptions, handle);
}

nwrfc_data_container* take_free_function(const nwrfc_function_description& description) {
  for (nwrfc_data_container& function : functions) {
    if (function.in_use) continue;
    function.in_use = true;
    function.description = &description;
    function.value_count = 0;
    return &function;
  }
  return nullptr;
}

nwrfc_data_container* find_function(RFC_FUNCTION_HANDLE handle) { return find_in(functions, handle); }
