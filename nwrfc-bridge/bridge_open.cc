// RfcOpen and RfcOpenEx: the logon parameters, handed to RfcOpenConnection.
#include <string_view>

#include "bridge_connections.h"
#include "common/bounded_text.h"
#include "destination_entry.h"
#include "error_report.h"
#include "logon_parameters.h"
#include "nwrfc_error.h"
#include "nwrfc_functions.h"
#include "result_mapping.h"
#include "rfc_library.h"
#include "utf16_text.h"

namespace {

using MessageText = BoundedText<1023>;

/// The parameters as the NetWeaver library takes them.
struct WideParameters {
  Utf16Text<15> names[logon_parameter_limit];
  Utf16Text<255> values[logon_parameter_limit];
  RFC_CONNECTION_PARAMETER list[logon_parameter_limit];
  unsigned count = 0;
};

bool widen(const LogonParameters& parameters, WideParameters& wide) {
  for (std::size_t i = 0; i < parameters.count; ++i) {
    if (!utf16_from_eight_bit(parameters.entries[i].name, wide.names[i]) ||
        !utf16_from_eight_bit(parameters.entries[i].value.view(), wide.values[i]))
      return false;
    wide.list[i] = RFC_CONNECTION_PARAMETER{wide.names[i].c_str(), wide.values[i].c_str()};
  }
  wide.count = static_cast<unsigned>(parameters.count);
  return true;
}

rfc_handle open_connection(const char* function, const LogonParameters& parameters, rfc_open_error_details* details) {
  const NwrfcFunctions* nwrfc = nwrfc_functions(function);
  if (nwrfc == nullptr) {
    fill_open_error_details(details, key_resource, "NetWeaver RFC library not loaded");
    return RFC_NULL_HANDLE;
  }
  WideParameters wide;
  if (!widen(parameters, wide))
    return fail_open(function, key_program, "invalid logon options", "logon data too long", details);
  rfc_handle handle = RFC_NULL_HANDLE;
  BridgeConnection* connection = take_free_bridge_connection(&handle);
  if (connection == nullptr) {
    MessageText message;
    message.assignf("more than %u connections open", bridge_connection_limit);
    return fail_open(function, key_resource, "too many connections", message.view(), details);
  }
  RFC_ERROR_INFO error{};
  connection->connection = nwrfc->open_connection(wide.list, wide.count, &error);
  if (connection->connection != nullptr) return handle;
  release_bridge_connection(*connection);
  report_nwrfc_error(function, error);
  ErrorText message;
  error_message_text(error, message);
  fill_open_error_details(details, classic_error_key(error.code), message.view());
  return RFC_NULL_HANDLE;
}

}  // namespace

extern "C" {

RFC_API rfc_handle RFC_CALL RfcOpen(rfc_logon_options_record* options) {
  constexpr const char* function = "RfcOpen";
  if (options == nullptr)
    return fail_open(function, key_program, "invalid logon options", "no logon options given", nullptr);
  LogonParameters parameters;
  MessageText problem;
  if (!parameters_from_logon_options(*options, parameters, problem))
    return fail_open(function, key_program,
                     options->connection_mode == RFC_MODE_R2 ? "R/2 not supported" : "invalid logon options",
                     problem.view(), nullptr);
  return open_connection(function, parameters, nullptr);
}

RFC_API rfc_handle RFC_CALL RfcOpenEx(const char* connect_string, rfc_open_error_details* details) {
  constexpr const char* function = "RfcOpenEx";
  ConnectStringFields fields;
  LogonFileEntry entry;
  if (!find_destination_entry(function, connect_string, fields, entry, details)) return RFC_NULL_HANDLE;
  LogonParameters parameters;
  MessageText problem;
  if (!parameters_from_logon_entry(fields, entry, parameters, problem))
    return fail_unusable_destination(function, fields.destination.view(), problem.view(), details);
  return open_connection(function, parameters, details);
}

}  // extern "C"
