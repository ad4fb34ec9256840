// RfcEnvironment, RfcLastError and RfcClose.
#include "bridge_connections.h"
#include "error_report.h"
#include "nwrfc_functions.h"
#include "rfc_library.h"

extern "C" {

RFC_API void RFC_CALL RfcEnvironment(rfc_environment_record* environment) { take_environment(environment); }

RFC_API int RFC_CALL RfcLastError(rfc_error_info* error) { return copy_last_error(error); }

RFC_API void RFC_CALL RfcClose(rfc_handle handle) {
  BridgeConnection* connection = find_bridge_connection(handle);
  if (connection == nullptr) return;
  // A connection is only open after the library was loaded.
  const NwrfcFunctions& nwrfc = *nwrfc_functions("RfcClose");
  RFC_ERROR_INFO ignored{};
  if (connection->function != nullptr) nwrfc.destroy_function(connection->function, &ignored);
  nwrfc.close_connection(connection->connection, &ignored);
  release_bridge_connection(*connection);
}

}  // extern "C"
