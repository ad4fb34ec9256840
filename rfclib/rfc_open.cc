// RfcOpen and RfcOpenEx: finding the partner, connecting and logging on.
#include <string_view>

#include "common/ascii.h"
#include "common/bounded_text.h"
#include "connect_target.h"
#include "connection_table.h"
#include "destination_entry.h"
#include "error_report.h"
#include "frame_exchange.h"
#include "rfc_library.h"

namespace {

/// The logon values as they are sent: trailing blanks removed.
struct LogonData {
  BoundedText<127> client;
  BoundedText<127> user;
  BoundedText<127> password;
  BoundedText<127> language;
};

using MessageText = BoundedText<1023>;

std::string_view without_trailing_blanks(std::string_view text) {
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

std::string_view text_or_empty(const char* text) { return text == nullptr ? std::string_view() : text; }

// Longer values than the frame could sensibly carry are refused, never cut:
// a cut password would only log on wrongly.
bool fill_logon_data(std::string_view client, std::string_view user, std::string_view password,
                     std::string_view language, LogonData& logon) {
  return logon.client.assign(without_trailing_blanks(client)) && logon.user.assign(without_trailing_blanks(user)) &&
         logon.password.assign(without_trailing_blanks(password)) &&
         logon.language.assign(without_trailing_blanks(language));
}

rfc_handle fail_connect(const char* function, ConnectOutcome outcome, const ConnectTarget& target,
                        rfc_open_error_details* details) {
  const char* status = "";
  MessageText message;
  describe_connect_failure(outcome, target, &status, message);
  return fail_open(function, key_communication, status, message.view(), details);
}

// Sends the logon and reads the answer; on any failure the error is reported
// and the connection released.
bool log_on(const char* function, Connection& connection, const LogonData& logon, rfc_open_error_details* details) {
  const char* status = "";
  MessageText message;
  const LogonOutcome outcome =
      exchange_logon(connection.socket, connection.partner.view(), logon.client.view(), logon.user.view(),
                     logon.password.view(), logon.language.view(), connection.payload, &status, message);
  if (outcome == LogonOutcome::Accepted) return true;
  fail_open(function, outcome == LogonOutcome::Rejected ? key_logon_failure : key_communication, status, message.view(),
            details);
  release_connection(connection);
  return false;
}

rfc_handle open_and_log_on(const char* function, const ConnectTarget& target, const LogonData& logon,
                           rfc_open_error_details* details) {
  rfc_handle handle = RFC_NULL_HANDLE;
  Connection* connection = take_free_connection(&handle);
  if (connection == nullptr) {
    MessageText message;
    message.assignf("more than %u connections open", connection_limit);
    return fail_open(function, key_resource, "too many connections", message.view(), details);
  }
  const ConnectOutcome outcome =
      connect_socket(target.host.c_str(), target.port, connect_timeout_ms, &connection->socket);
  if (outcome != ConnectOutcome::Connected) {
    release_connection(*connection);
    return fail_connect(function, outcome, target, details);
  }
  connection->partner.assignf("%s:%d", target.host.c_str(), target.port);
  return log_on(function, *connection, logon, details) ? handle : RFC_NULL_HANDLE;
}

bool refuse(TextBuffer& problem, std::string_view reason) {
  problem.assign(reason);
  return false;
}

// The vendor's library reaches the host at the end of a SAProuter route
// ("/H/gate/S/3299/W/secret/H/sapprd01", the hops in either case) through the
// routers on the way; rfcsim is no SAProuter, so the stand-in goes straight
// to the host after the last "/H/".  A route that does not end in a host is
// refused without quoting it: it may hold passwords.
bool partner_host(std::string_view host, std::string_view& partner, TextBuffer& problem) {
  partner = host;
  for (std::size_t at = 0; at + 3 <= host.size(); ++at)
    if (host[at] == '/' && ascii_upper(host[at + 1]) == 'H' && host[at + 2] == '/') partner = host.substr(at + 3);
  if (!partner.empty() && partner.find('/') == std::string_view::npos) return true;
  return refuse(problem, "the SAProuter route does not end in a host");
}

bool target_of_application_server(const r3_connection_options_record* server, ConnectTarget& target,
                                  TextBuffer& problem) {
  if (server == nullptr) return refuse(problem, "no host name given");
  std::string_view host = without_trailing_blanks(text_or_empty(server->hostname));
  if (host.empty()) return refuse(problem, "no host name given");
  if (!partner_host(host, host, problem)) return false;
  if (!target.host.assign(host)) return refuse(problem, "host name too long");
  if (!application_server_port(server->system_number, &target.port)) {
    problem.assignf("invalid system number %d", server->system_number);
    return false;
  }
  return true;
}

bool target_of_gateway(std::string_view host, std::string_view service, ConnectTarget& target, TextBuffer& problem) {
  if (host.empty()) return refuse(problem, "no gateway host given");
  if (!partner_host(host, host, problem)) return false;
  if (!target.host.assign(host)) return refuse(problem, "gateway host too long");
  if (service.empty()) return refuse(problem, "no gateway service given");
  if (!gateway_service_port(service, &target.port)) {
    problem.assign("invalid gateway service ");
    problem.append(service);
    return false;
  }
  return true;
}

// The target of RfcOpen's connection options; false with the reason in `problem`.
bool target_of_logon_options(const rfc_logon_options_record& options, ConnectTarget& target, TextBuffer& problem) {
  if (options.connection_mode == RFC_MODE_R3)
    return target_of_application_server(static_cast<const r3_connection_options_record*>(options.connection_options),
                                        target, problem);
  if (options.connection_mode == RFC_MODE_R2) {
    const auto* gateway = static_cast<const r2_connection_options_record*>(options.connection_options);
    if (gateway == nullptr) return refuse(problem, "no gateway host given");
    return target_of_gateway(without_trailing_blanks(text_or_empty(gateway->gateway_host)),
                             without_trailing_blanks(text_or_empty(gateway->gateway_service)), target, problem);
  }
  problem.assignf("unknown connection mode %d", options.connection_mode);
  return false;
}

// The target of a logon-file entry; false with the reason in `problem`.
bool target_of_logon_entry(const LogonFileEntry& entry, ConnectTarget& target, TextBuffer& problem) {
  if (!entry.overlong_key.empty()) {
    problem.assignf("value of %s too long", entry.overlong_key.c_str());
    return false;
  }
  std::string_view host;
  if (!entry.application_server_host.empty())
    return partner_host(entry.application_server_host.view(), host, problem) &&
           target_from_system_number(host, entry.system_number.view(), target, problem);
  if (entry.gateway_host.empty()) return refuse(problem, "neither ASHOST nor GWHOST given");
  return target_of_gateway(entry.gateway_host.view(), entry.gateway_service.view(), target, problem);
}

}  // namespace

extern "C" {

RFC_API rfc_handle RFC_CALL RfcOpen(rfc_logon_options_record* options) {
  constexpr const char* function = "RfcOpen";
  ConnectTarget target;
  MessageText problem;
  if (options == nullptr)
    return fail_open(function, key_program, "invalid logon options", "no logon options given", nullptr);
  if (!target_of_logon_options(*options, target, problem))
    return fail_open(function, key_program, "invalid logon options", problem.view(), nullptr);
  LogonData logon;
  if (!fill_logon_data(text_or_empty(options->client), text_or_empty(options->user), text_or_empty(options->password),
                       text_or_empty(options->language), logon))
    return fail_open(function, key_program, "invalid logon options", "logon data too long", nullptr);
  return open_and_log_on(function, target, logon, nullptr);
}

RFC_API rfc_handle RFC_CALL RfcOpenEx(const char* connect_string, rfc_open_error_details* details) {
  constexpr const char* function = "RfcOpenEx";
  ConnectStringFields fields;
  LogonFileEntry entry;
  if (!find_destination_entry(function, connect_string, fields, entry, details)) return RFC_NULL_HANDLE;
  ConnectTarget target;
  MessageText problem;
  if (!target_of_logon_entry(entry, target, problem))
    return fail_unusable_destination(function, fields.destination.view(), problem.view(), details);
  LogonData logon;
  fill_logon_data(fields.client.view(), fields.user.view(), fields.password.view(), fields.language.view(), logon);
  return open_and_log_on(function, target, logon, details);
}

}  // extern "C"
