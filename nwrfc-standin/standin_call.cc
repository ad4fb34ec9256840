// RfcGetFunctionDesc, RfcCreateFunction, RfcInvoke, RfcGetInt and
// RfcDestroyFunction: one call of a function module on rfcsim.
#include <cstdint>
#include <string_view>

#include "common/bounded_text.h"
#include "common/time_budget.h"
#include "frame_exchange.h"
#include "nwrfc_library.h"
#include "standin_errors.h"
#include "standin_state.h"
#include "standin_text.h"

namespace {

using MessageText = BoundedText<1023>;

// rfcsim's result codes (rfclib/PROTOCOL.md).
constexpr std::int32_t reply_ok = 0;
constexpr std::int32_t reply_failure = 1;
constexpr std::int32_t reply_exception = 2;
constexpr std::int32_t reply_system_exception = 3;

RFC_RC fail(RFC_ERROR_INFO* error, RFC_RC code, RFC_ERROR_GROUP group, std::string_view key, std::string_view message) {
  set_error(error, code, group, key, message);
  return code;
}

RFC_RC fail_invalid_handle(RFC_ERROR_INFO* error, const char* what) {
  MessageText message;
  message.assignf("%s handle is not valid", what);
  return fail(error, RFC_INVALID_HANDLE, RFC_ERROR_GROUP_EXTERNAL_RUNTIME_FAILURE, "invalid handle", message.view());
}

// A connection that closed is reported as closed, every other break as a
// communication failure; either way it stays broken.
RFC_RC break_connection(StandinConnection& connection, FrameOutcome outcome, RFC_ERROR_INFO* error) {
  const char* status = "";
  MessageText message;
  describe_transfer_failure(outcome, connection.partner.view(), &status, message);
  mark_broken(connection);
  return fail(error, outcome == FrameOutcome::Closed ? RFC_CLOSED : RFC_COMMUNICATION_FAILURE,
              RFC_ERROR_GROUP_COMMUNICATION_FAILURE, status, message.view());
}

// Decodes a reply frame's values into the function handle; false when the
// frame is not a well-formed reply.
bool take_reply(const unsigned char* payload, std::size_t size, std::int32_t* result_code, std::string_view* text,
                StandinFunction& function) {
  FieldReader reader(payload, size);
  std::int32_t count = 0;
  if (!reader.get_int(result_code) || !reader.get_text(text) || !reader.get_int(&count) || count < 0) return false;
  function.value_count = 0;
  for (std::int32_t i = 0; i < count; ++i) {
    std::string_view name;
    std::int32_t value = 0;
    if (!reader.get_text(&name) || !reader.get_int(&value)) return false;
    if (function.value_count == reply_value_limit) continue;
    ReplyValue& kept = function.values[function.value_count];
    if (!kept.name.assign(name)) continue;  // no interface has such a name: drop it
    kept.value = value;
    ++function.value_count;
  }
  return reader.at_end();
}

// The result of a well-formed reply, as the NetWeaver library reports it.
RFC_RC reply_result(std::int32_t result_code, std::string_view text, const StandinFunction& function,
                    RFC_ERROR_INFO* error) {
  const char* name = function.description->name.c_str();
  MessageText message;
  switch (result_code) {
    case reply_ok:
      clear_error(error);
      return RFC_OK;
    case reply_exception:
      // The exception's name is its key.
      return fail(error, RFC_ABAP_EXCEPTION, RFC_ERROR_GROUP_ABAP_APPLICATION_FAILURE, text, text);
    case reply_system_exception:
      if (text.empty()) message.assignf("system exception in %s", name);
      return fail(error, RFC_ABAP_RUNTIME_FAILURE, RFC_ERROR_GROUP_ABAP_RUNTIME_FAILURE, "system exception",
                  text.empty() ? message.view() : text);
    case reply_failure:
      if (text.empty()) message.assignf("RFC failure in %s", name);
      return fail(error, RFC_EXTERNAL_FAILURE, RFC_ERROR_GROUP_EXTERNAL_RUNTIME_FAILURE, "RFC failure",
                  text.empty() ? message.view() : text);
    default:
      // NetWeaver has no other result codes; the system's code is named in the message.
      message.assignf("result code %d from %s", static_cast<int>(result_code), name);
      if (!text.empty()) {
        message.append(": ");
        message.append(text);
      }
      return fail(error, RFC_EXTERNAL_FAILURE, RFC_ERROR_GROUP_EXTERNAL_RUNTIME_FAILURE, "other failure",
                  message.view());
  }
}

}  // namespace

extern "C" {

NWRFC_API RFC_FUNCTION_DESC_HANDLE NWRFC_CALL RfcGetFunctionDesc(RFC_CONNECTION_HANDLE handle, const SAP_UC* name,
                                                                 RFC_ERROR_INFO* error) {
  StandinConnection* connection = find_connection(handle);
  if (connection == nullptr) {
    fail_invalid_handle(error, "connection");
    return nullptr;
  }
  // The vendor's library asks the system for the description; a partner
  // that went away is found here, before the call is made.
  if (connection->broken) {
    break_connection(*connection, FrameOutcome::Failed, error);
    return nullptr;
  }
  const FrameOutcome idle = idle_connection_outcome(connection->socket);
  if (idle != FrameOutcome::Done) {
    break_connection(*connection, idle, error);
    return nullptr;
  }
  BoundedText<127> function_name;
  if (name == nullptr || name[0] == 0 || !read_utf16(name, 128, function_name)) {
    fail(error, RFC_INVALID_PARAMETER, RFC_ERROR_GROUP_EXTERNAL_RUNTIME_FAILURE, "invalid call",
         name == nullptr || name[0] == 0 ? "no function name given" : "function name too long");
    return nullptr;
  }
  const RFC_FUNCTION_DESC_HANDLE description = cached_description(function_name.view());
  if (description == nullptr) {
    fail(error, RFC_MEMORY_INSUFFICIENT, RFC_ERROR_GROUP_EXTERNAL_RUNTIME_FAILURE, "metadata cache full",
         "more function modules described than the cache holds");
    return nullptr;
  }
  clear_error(error);
  return description;
}

NWRFC_API RFC_FUNCTION_HANDLE NWRFC_CALL RfcCreateFunction(RFC_FUNCTION_DESC_HANDLE handle, RFC_ERROR_INFO* error) {
  const StandinDescription* description = find_description(handle);
  if (description == nullptr) {
    fail_invalid_handle(error, "function description");
    return nullptr;
  }
  const RFC_FUNCTION_HANDLE function = take_free_function(*description);
  if (function == nullptr) {
    fail(error, RFC_MEMORY_INSUFFICIENT, RFC_ERROR_GROUP_EXTERNAL_RUNTIME_FAILURE, "too many functions",
         "more function handles than the stand-in holds");
    return nullptr;
  }
  clear_error(error);
  return function;
}

NWRFC_API RFC_RC NWRFC_CALL RfcInvoke(RFC_CONNECTION_HANDLE connection_handle, RFC_FUNCTION_HANDLE function_handle,
                                      RFC_ERROR_INFO* error) {
  StandinConnection* connection = find_connection(connection_handle);
  if (connection == nullptr) return fail_invalid_handle(error, "connection");
  StandinFunction* function = find_function(function_handle);
  if (function == nullptr) return fail_invalid_handle(error, "function");
  function->value_count = 0;
  if (connection->broken) return break_connection(*connection, FrameOutcome::Failed, error);
  FrameWriter frame(FrameKind::Call);
  frame.put_text(function->description->name.view());  // 127 characters always fit
  // One bound for the whole call, from sending it to the last byte of its reply.
  const Deadline deadline = deadline_after(library_call_wait_ms);
  const FrameOutcome sent = send_frame(connection->socket, frame, deadline);
  if (sent != FrameOutcome::Done)
    return break_connection(*connection, sent == FrameOutcome::Closed ? sent : FrameOutcome::Failed, error);
  FrameKind kind{};
  std::size_t payload_size = 0;
  const FrameOutcome received = receive_frame(connection->socket, deadline, &kind, connection->payload, &payload_size);
  if (received != FrameOutcome::Done) return break_connection(*connection, received, error);
  if (kind == FrameKind::Abort) {
    const char* status = "";
    MessageText detail;
    describe_abort(connection->payload, payload_size, connection->partner.view(), &status, detail);
    mark_broken(*connection);
    return fail(error, RFC_COMMUNICATION_FAILURE, RFC_ERROR_GROUP_COMMUNICATION_FAILURE, status, detail.view());
  }
  std::int32_t result_code = 0;
  std::string_view text;
  if (kind != FrameKind::Reply || !take_reply(connection->payload, payload_size, &result_code, &text, *function))
    return break_connection(*connection, FrameOutcome::Unreadable, error);
  return reply_result(result_code, text, *function, error);
}

NWRFC_API RFC_RC NWRFC_CALL RfcGetInt(RFC_DATA_CONTAINER_HANDLE container, const SAP_UC* name, RFC_INT* value,
                                      RFC_ERROR_INFO* error) {
  const StandinFunction* function = find_function(container);
  if (function == nullptr) return fail_invalid_handle(error, "data container");
  BoundedText<63> wanted;
  // A name too long for any value is found nowhere, not even cut.
  const bool whole = name != nullptr && read_utf16(name, 64, wanted);
  for (int i = 0; whole && i < function->value_count; ++i) {
    if (!function->values[i].name.equals(wanted.view())) continue;
    if (value != nullptr) *value = function->values[i].value;
    clear_error(error);
    return RFC_OK;
  }
  MessageText message;
  // The classic stand-in's words for the same fault, so both configurations print alike.
  message.assignf("value %s missing from the reply", wanted.c_str());
  return fail(error, RFC_INVALID_PARAMETER, RFC_ERROR_GROUP_EXTERNAL_RUNTIME_FAILURE, "incomplete reply",
              message.view());
}

NWRFC_API RFC_RC NWRFC_CALL RfcDestroyFunction(RFC_FUNCTION_HANDLE handle, RFC_ERROR_INFO* error) {
  StandinFunction* function = find_function(handle);
  if (function == nullptr) return fail_invalid_handle(error, "function");
  release_function(*function);
  clear_error(error);
  return RFC_OK;
}

}  // extern "C"
