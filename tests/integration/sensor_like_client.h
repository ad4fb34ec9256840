// The library used the way the sensor uses it: the same records, padding and lists.
#pragma once

#include <cstdint>
#include <string>

#include "rfc_library.h"

/// Logon values before the sensor's padding.
struct LogonValues {
  std::string client = "100";
  std::string user = "MONITOR";
  std::string password = "Geheim42";
  std::string language = "E";
};

/// RfcOpen in connection mode 0, user padded to 12 and password to 10 characters.
rfc_handle open_application_server(const std::string& host, int system_number, const LogonValues& logon = {});

/// RfcOpen in connection mode 1 through the gateway `host` and `service`.
rfc_handle open_gateway(const std::string& host, const std::string& service, const LogonValues& logon = {});

/// What one call of SAPTUNE_ROLL_PAGE_SIZES gave back.
struct QueryResult {
  int code = -1;
  /// The eleven values by position; each starts as `untouched`.
  std::int32_t values[11] = {};
  /// Set when the library pointed the exception text somewhere.
  bool exception_given = false;
  std::string exception;
};

/// The value every integer holds before the call, to see which were stored.
inline constexpr std::int32_t untouched = -4242;

/// RfcCall and RfcReceive with the eleven-entry receiving list, like the sensor.
QueryResult query_roll_page_sizes(rfc_handle handle);
