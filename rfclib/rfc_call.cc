// RfcCall and RfcReceive: one call of a function module and its reply.
#include <string_view>

#include "call_checks.h"
#include "call_reply.h"
#include "common/bounded_text.h"
#include "common/time_budget.h"
#include "connection_table.h"
#include "error_report.h"
#include "frame_exchange.h"
#include "rfc_library.h"

namespace {

using MessageText = BoundedText<1023>;

rfc_result_code break_connection(const char* function, Connection& connection, const char* status,
                                 std::string_view message) {
  mark_broken(connection);
  return signal_failure(function, key_communication, status, message);
}

rfc_result_code fail_broken_transfer(const char* function, Connection& connection, FrameOutcome outcome) {
  const char* status = "";
  MessageText message;
  describe_transfer_failure(outcome, connection.partner.view(), &status, message);
  return break_connection(function, connection, status, message.view());
}

// The detail of the trace file's ERROR line: the partner's text, or ours when it gave none.
void describe(MessageText& detail, std::string_view partner_text, const char* what, const Connection& connection) {
  if (!partner_text.empty()) {
    detail.assign(partner_text);
    return;
  }
  detail.assignf("%s in %s", what, connection.function.c_str());
}

// A reply that lacks a value asked for, or names one twice, is no
// measurement: the call fails as with result code 1 and stores nothing.
bool values_complete(const char* function, const Reply& reply, const rfc_parameter* receiving) {
  std::string_view name;
  const ReplyValues check = check_reply_values(reply, receiving, &name);
  if (check == ReplyValues::Complete) return true;
  const bool missing = check == ReplyValues::Missing;
  MessageText message("value ");
  message.append(name);
  message.append(missing ? " missing from the reply" : " given twice in the reply");
  report_error(function, key_failure, missing ? "incomplete reply" : "ambiguous reply", message.view());
  return false;
}

rfc_result_code take_reply(Connection& connection, std::size_t payload_size, rfc_parameter* receiving,
                           char** exception) {
  constexpr const char* function = "RfcReceive";
  Reply reply;
  if (!decode_reply(connection.payload, payload_size, reply))
    return fail_broken_transfer(function, connection, FrameOutcome::Unreadable);
  MessageText detail;
  switch (reply.result_code) {
    case RFC_RESULT_OK:
      if (!values_complete(function, reply, receiving)) return RFC_RESULT_FAILURE;
      store_values(reply, receiving);
      break;
    case RFC_RESULT_FAILURE:
      describe(detail, reply.text, "RFC failure", connection);
      report_error(function, key_failure, "RFC failure", detail.view());
      break;
    case RFC_RESULT_SYS_EXCEPTION:
      describe(detail, reply.text, "system exception", connection);
      report_error(function, key_system_exception, "system exception", detail.view());
      [[fallthrough]];
    case RFC_RESULT_EXCEPTION:
      connection.reply_text.assign(reply.text);
      if (exception != nullptr) *exception = const_cast<char*>(connection.reply_text.c_str());
      break;
    default:
      break;
  }
  return reply.result_code;
}

}  // namespace

extern "C" {

RFC_API rfc_result_code RFC_CALL RfcCall(rfc_handle handle, const char* function_name, rfc_parameter* /*sending*/,
                                         rfc_table_entry* /*tables*/) {
  // Function modules are called here without importing parameters or tables;
  // none of this library's callers passes any.
  constexpr const char* function = "RfcCall";
  Connection* connection = find_connection(handle);
  if (connection == nullptr) return fail_unknown_handle(function, handle);
  if (!call_may_start(function_name, connection->call_pending ? connection->function.c_str() : nullptr))
    return RFC_RESULT_FAILURE;
  if (connection->broken) return fail_broken_transfer(function, *connection, FrameOutcome::Failed);
  // A partner that went away since the last exchange is found before the
  // call is sent, so the failure is reported here and not only at the reply.
  const FrameOutcome idle = idle_connection_outcome(connection->socket);
  if (idle != FrameOutcome::Done) return fail_broken_transfer(function, *connection, idle);
  FrameWriter frame(FrameKind::Call);
  if (!frame.put_text(function_name))
    return signal_failure(function, key_program, "invalid call", "function name too long");
  connection->function.assign(function_name);
  connection->call_deadline = deadline_after(library_call_wait_ms);
  const FrameOutcome sent = send_frame(connection->socket, frame, connection->call_deadline);
  if (sent != FrameOutcome::Done)
    return fail_broken_transfer(function, *connection,
                                sent == FrameOutcome::Closed ? FrameOutcome::Closed : FrameOutcome::Failed);
  connection->call_pending = true;
  return RFC_RESULT_OK;
}

RFC_API rfc_result_code RFC_CALL RfcReceive(rfc_handle handle, rfc_parameter* receiving, rfc_table_entry* /*tables*/,
                                            char** exception) {
  constexpr const char* function = "RfcReceive";
  Connection* connection = find_connection(handle);
  if (connection == nullptr) return fail_unknown_handle(function, handle);
  if (connection->broken) return fail_broken_transfer(function, *connection, FrameOutcome::Failed);
  if (!connection->call_pending) return fail_no_call_waiting();
  connection->call_pending = false;
  FrameKind kind{};
  std::size_t payload_size = 0;
  const FrameOutcome received =
      receive_frame(connection->socket, connection->call_deadline, &kind, connection->payload, &payload_size);
  if (received != FrameOutcome::Done) return fail_broken_transfer(function, *connection, received);
  if (kind == FrameKind::Abort) {
    const char* status = "";
    MessageText detail;
    describe_abort(connection->payload, payload_size, connection->partner.view(), &status, detail);
    return break_connection(function, *connection, status, detail.view());
  }
  if (kind != FrameKind::Reply) return fail_broken_transfer(function, *connection, FrameOutcome::Unreadable);
  return take_reply(*connection, payload_size, receiving, exception);
}

}  // extern "C"
