// RfcOpenConnection, RfcCloseConnection and RfcGetVersion: finding the
// partner in the parameters, connecting to rfcsim and logging on.
#include <string_view>

#include "common/bounded_text.h"
#include "common/time_budget.h"
#include "connect_target.h"
#include "frame_exchange.h"
#include "icu_opening.h"
#include "nwrfc_library.h"
#include "open_record.h"
#include "standin_errors.h"
#include "standin_state.h"
#include "standin_text.h"
#include "standin_trace.h"

namespace {

using MessageText = BoundedText<1023>;
using ParameterValue = BoundedText<255>;

/// Port of a load-balancing logon without a message server service.
constexpr int default_message_server_port = 3600;

/// Longest logon value passed on, as in the stand-in classic library.
constexpr std::size_t logon_value_limit = 127;

/// The parameters the stand-in uses, as UTF-8.
struct OpenParameters {
  ParameterValue ashost, sysnr, mshost, msserv, client, user, passwd, lang;
};

// Takes the parameter into its field when the stand-in uses it; names are
// compared in either case.  False when its value does not fit.
bool take_parameter(const RFC_CONNECTION_PARAMETER& parameter, OpenParameters& open, TextBuffer& problem) {
  BoundedText<31> name;
  if (parameter.name == nullptr) return true;
  read_utf16(parameter.name, 31, name);
  name.to_upper();
  const struct {
    const char* name;
    TextBuffer& field;
  } used[] = {{"ASHOST", open.ashost}, {"SYSNR", open.sysnr}, {"MSHOST", open.mshost}, {"MSSERV", open.msserv},
              {"CLIENT", open.client}, {"USER", open.user},   {"PASSWD", open.passwd}, {"LANG", open.lang}};
  for (const auto& field : used) {
    if (!name.equals(field.name)) continue;
    if (parameter.value != nullptr && !read_utf16(parameter.value, 1024, field.field)) {
      problem.assignf("value of %s too long", field.name);
      return false;
    }
    return true;
  }
  return true;  // snc_ and the other parameters mean nothing to rfcsim
}

// A logon with ashost goes to that host at 3300 plus sysnr, as the classic
// library's; one with mshost (load balancing) to the application server
// rfcsim simulates at the message server host, at the port msserv names
// (a number, or "sapgwNN" for 3300 plus NN), 3600 without msserv.
bool target_of(const OpenParameters& open, ConnectTarget& target, TextBuffer& problem) {
  if (!open.ashost.empty()) return target_from_system_number(open.ashost.view(), open.sysnr.view(), target, problem);
  if (open.mshost.empty()) {
    problem.assign("no host name given");
    return false;
  }
  if (!target.host.assign(open.mshost.view())) {
    problem.assign("host name too long");
    return false;
  }
  target.port = default_message_server_port;
  if (open.msserv.empty() || gateway_service_port(open.msserv.view(), &target.port)) return true;
  problem.assign("invalid message server service ");
  problem.append(open.msserv.view());
  return false;
}

bool logon_values_fit(const OpenParameters& open) {
  for (const TextBuffer* value : {&open.client, &open.user, &open.passwd, &open.lang})
    if (value->size() > logon_value_limit) return false;
  return true;
}

RFC_CONNECTION_HANDLE fail_open(RFC_ERROR_INFO* error, RFC_RC code, RFC_ERROR_GROUP group, std::string_view key,
                                std::string_view message) {
  set_error(error, code, group, key, message);
  return nullptr;
}

// Sends the logon and reads the answer; on failure the error is set and the
// connection released.
bool log_on(StandinConnection& connection, const OpenParameters& open, RFC_ERROR_INFO* error) {
  const char* status = "";
  MessageText message;
  const LogonOutcome outcome =
      exchange_logon(connection.socket, connection.partner.view(), open.client.view(), open.user.view(),
                     open.passwd.view(), open.lang.view(), connection.payload, &status, message);
  if (outcome == LogonOutcome::Accepted) return true;
  if (outcome == LogonOutcome::Rejected)
    set_error(error, RFC_LOGON_FAILURE, RFC_ERROR_GROUP_LOGON_FAILURE, status, message.view());
  else
    set_error(error, RFC_COMMUNICATION_FAILURE, RFC_ERROR_GROUP_COMMUNICATION_FAILURE, status, message.view());
  release_connection(connection);
  return false;
}

// The vendor's library opens ICU's internationalisation library at its
// first open, and fails that open when it cannot.
bool icu_opened(RFC_ERROR_INFO* error) {
  static bool opened = false;
  MessageText reason;
  if (!opened && !open_icu_i18n(reason)) {
    set_error(error, RFC_EXTERNAL_FAILURE, RFC_ERROR_GROUP_EXTERNAL_RUNTIME_FAILURE, "ICU library not loaded",
              reason.view());
    return false;
  }
  opened = true;
  return true;
}

RFC_CONNECTION_HANDLE open_connection(const RFC_CONNECTION_PARAMETER* params, unsigned count, RFC_ERROR_INFO* error) {
  if (!icu_opened(error)) return nullptr;
  OpenParameters open;
  ConnectTarget target;
  MessageText problem;
  for (unsigned i = 0; params != nullptr && i < count; ++i)
    if (!take_parameter(params[i], open, problem))
      return fail_open(error, RFC_INVALID_PARAMETER, RFC_ERROR_GROUP_EXTERNAL_RUNTIME_FAILURE, "invalid logon options",
                       problem.view());
  if (!target_of(open, target, problem))
    return fail_open(error, RFC_INVALID_PARAMETER, RFC_ERROR_GROUP_EXTERNAL_RUNTIME_FAILURE, "invalid logon options",
                     problem.view());
  if (!logon_values_fit(open))
    return fail_open(error, RFC_INVALID_PARAMETER, RFC_ERROR_GROUP_EXTERNAL_RUNTIME_FAILURE, "invalid logon options",
                     "logon data too long");
  RFC_CONNECTION_HANDLE handle = nullptr;
  StandinConnection* connection = take_free_connection(&handle);
  if (connection == nullptr) {
    problem.assignf("more than %u connections open", standin_connection_limit);
    return fail_open(error, RFC_MEMORY_INSUFFICIENT, RFC_ERROR_GROUP_EXTERNAL_RUNTIME_FAILURE, "too many connections",
                     problem.view());
  }
  const ConnectOutcome outcome =
      connect_socket(target.host.c_str(), target.port, library_connect_wait_ms, &connection->socket);
  if (outcome != ConnectOutcome::Connected) {
    release_connection(*connection);
    const char* status = "";
    describe_connect_failure(outcome, target, &status, problem);
    return fail_open(error, RFC_COMMUNICATION_FAILURE, RFC_ERROR_GROUP_COMMUNICATION_FAILURE, status, problem.view());
  }
  connection->partner.assignf("%s:%d", target.host.c_str(), target.port);
  if (!log_on(*connection, open, error)) return nullptr;
  clear_error(error);
  return handle;
}

}  // namespace

extern "C" {

NWRFC_API RFC_CONNECTION_HANDLE NWRFC_CALL RfcOpenConnection(const RFC_CONNECTION_PARAMETER* params, unsigned count,
                                                             RFC_ERROR_INFO* error) {
  record_open(params, count);
  RFC_ERROR_INFO own_error{};
  RFC_ERROR_INFO* reported = error != nullptr ? error : &own_error;
  RFC_CONNECTION_HANDLE handle = open_connection(params, count, reported);
  if (handle == nullptr) trace_failed_open(*reported);
  return handle;
}

NWRFC_API RFC_RC NWRFC_CALL RfcCloseConnection(RFC_CONNECTION_HANDLE handle, RFC_ERROR_INFO* error) {
  StandinConnection* connection = find_connection(handle);
  if (connection == nullptr) {
    set_error(error, RFC_INVALID_HANDLE, RFC_ERROR_GROUP_EXTERNAL_RUNTIME_FAILURE, "invalid handle",
              "connection handle is not open");
    return RFC_INVALID_HANDLE;
  }
  release_connection(*connection);
  clear_error(error);
  return RFC_OK;
}

NWRFC_API const SAP_UC* NWRFC_CALL RfcGetVersion(unsigned* major, unsigned* minor, unsigned* patch_level) {
  if (major != nullptr) *major = 0;
  if (minor != nullptr) *minor = 1;
  if (patch_level != nullptr) *patch_level = 0;
  return u"stand-in for tests against rfcsim, not the vendor's library";
}

}  // extern "C"
