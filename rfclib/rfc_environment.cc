// RfcEnvironment, RfcLastError and RfcClose.
#include "connection_table.h"
#include "error_report.h"
#include "rfc_library.h"

extern "C" {

RFC_API void RFC_CALL RfcEnvironment(rfc_environment_record* environment) { take_environment(environment); }

RFC_API int RFC_CALL RfcLastError(rfc_error_info* error) { return copy_last_error(error); }

RFC_API void RFC_CALL RfcClose(rfc_handle handle) {
  Connection* connection = find_connection(handle);
  if (connection != nullptr) release_connection(*connection);
}

}  // extern "C"
