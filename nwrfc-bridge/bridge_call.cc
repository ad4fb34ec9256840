// RfcCall and RfcReceive: one call of a function module through RfcInvoke.
//
// The NetWeaver library calls synchronously, so RfcCall only prepares the
// call (the function's description and a handle for its values) and
// RfcReceive runs it; failures of the call itself are then reported where
// the classic library reports those of the reply.
#include <string_view>

#include "bridge_connections.h"
#include "call_checks.h"
#include "common/bounded_text.h"
#include "error_report.h"
#include "nwrfc_error.h"
#include "nwrfc_functions.h"
#include "result_mapping.h"
#include "rfc_library.h"
#include "utf16_text.h"

namespace {

using MessageText = BoundedText<1023>;

// A NetWeaver function failed: a broken connection reaches the error handler,
// every other failure is result code 1.
rfc_result_code fail_nwrfc(const char* function, const RFC_ERROR_INFO& error) {
  report_nwrfc_error(function, error);
  if (call_outcome(error.code) == CallOutcome::BrokenConnection) signal_error(function);
  return RFC_RESULT_FAILURE;
}

void destroy_function(const NwrfcFunctions& nwrfc, BridgeConnection& connection) {
  if (connection.function == nullptr) return;
  RFC_ERROR_INFO ignored{};
  nwrfc.destroy_function(connection.function, &ignored);
  connection.function = nullptr;
}

// Reads each receiving parameter by its name into its place.  A value the
// reply lacks is a failure, never a 0.
rfc_result_code store_values(const NwrfcFunctions& nwrfc, BridgeConnection& connection, rfc_parameter* receiving) {
  constexpr const char* function = "RfcReceive";
  for (rfc_parameter* parameter = receiving; parameter != nullptr && parameter->name != nullptr; ++parameter) {
    const std::string_view name(parameter->name, parameter->name_length);
    MessageText message;
    if (parameter->type_code != RFC_TYPE_INT || parameter->value_length != sizeof(RFC_INT) ||
        parameter->value_address == nullptr) {
      message.assign("receiving parameter ");
      message.append(name);
      message.append(" is no four-byte integer");
      return signal_failure(function, key_program, "invalid call", message.view());
    }
    Utf16Text<127> wide_name;
    RFC_INT value = 0;
    RFC_ERROR_INFO error{};
    if (!utf16_from_eight_bit(name, wide_name)) {
      error.code = RFC_INVALID_PARAMETER;
      fill_utf16_field("parameter name too long", error.key, sizeof error.key / sizeof error.key[0]);
    } else if (nwrfc.get_int(connection.function, wide_name.c_str(), &value, &error) == RFC_OK) {
      *static_cast<RFC_INT*>(parameter->value_address) = value;
      continue;
    }
    return fail_nwrfc(function, error);
  }
  return RFC_RESULT_OK;
}

void take_error_text(const RFC_ERROR_INFO& error, CallOutcome outcome, BridgeConnection& connection, char** exception) {
  ErrorText text;
  if (outcome == CallOutcome::Exception)
    error_key_text(error, text);
  else
    error_message_text(error, text);
  connection.reply_text.assign(text.view());
  if (exception != nullptr) *exception = const_cast<char*>(connection.reply_text.c_str());
}

rfc_result_code run_call(const NwrfcFunctions& nwrfc, BridgeConnection& connection, rfc_parameter* receiving,
                         char** exception) {
  constexpr const char* function = "RfcReceive";
  RFC_ERROR_INFO error{};
  const RFC_RC code = nwrfc.invoke(connection.connection, connection.function, &error);
  const CallOutcome outcome = call_outcome(code);
  switch (outcome) {
    case CallOutcome::Values:
      return store_values(nwrfc, connection, receiving);
    case CallOutcome::Exception:
      take_error_text(error, outcome, connection, exception);
      break;
    case CallOutcome::SystemException:
      report_nwrfc_error(function, error);
      take_error_text(error, outcome, connection, exception);
      break;
    case CallOutcome::BrokenConnection:
    case CallOutcome::Failure:
      return fail_nwrfc(function, error);
  }
  return classic_result_code(outcome);
}

}  // namespace

extern "C" {

RFC_API rfc_result_code RFC_CALL RfcCall(rfc_handle handle, const char* function_name, rfc_parameter* /*sending*/,
                                         rfc_table_entry* /*tables*/) {
  // Function modules are called here without importing parameters or tables;
  // none of this library's callers passes any.
  constexpr const char* function = "RfcCall";
  BridgeConnection* connection = find_bridge_connection(handle);
  if (connection == nullptr) return fail_unknown_handle(function, handle);
  if (!call_may_start(function_name, connection->function != nullptr ? connection->function_name.c_str() : nullptr))
    return RFC_RESULT_FAILURE;
  Utf16Text<127> wide_name;
  if (!utf16_from_eight_bit(function_name, wide_name))
    return signal_failure(function, key_program, "invalid call", "function name too long");
  // A connection is only open after the library was loaded.
  const NwrfcFunctions& nwrfc = *nwrfc_functions(function);
  RFC_ERROR_INFO error{};
  const RFC_FUNCTION_DESC_HANDLE description =
      nwrfc.get_function_desc(connection->connection, wide_name.c_str(), &error);
  // The description belongs to the library's metadata cache: never destroyed here.
  if (description == nullptr) return fail_nwrfc(function, error);
  connection->function = nwrfc.create_function(description, &error);
  if (connection->function == nullptr) return fail_nwrfc(function, error);
  connection->function_name.assign(function_name);
  return RFC_RESULT_OK;
}

RFC_API rfc_result_code RFC_CALL RfcReceive(rfc_handle handle, rfc_parameter* receiving, rfc_table_entry* /*tables*/,
                                            char** exception) {
  constexpr const char* function = "RfcReceive";
  BridgeConnection* connection = find_bridge_connection(handle);
  if (connection == nullptr) return fail_unknown_handle(function, handle);
  if (connection->function == nullptr) return fail_no_call_waiting();
  const NwrfcFunctions& nwrfc = *nwrfc_functions(function);
  const rfc_result_code code = run_call(nwrfc, *connection, receiving, exception);
  destroy_function(nwrfc, *connection);
  return code;
}

}  // extern "C"
