#include "logon_parameters.h"

#include "common/ascii.h"
#include "common/saprouter_route.h"

namespace {

/// Longest logon value (client, user, password, language) passed on; a
/// longer one is refused, never cut: a cut password would only log on wrongly.
constexpr std::size_t logon_value_limit = 127;

/// What a logon-file entry asks for, by its TYPE= or, without one, by its hosts.
enum class EntryType { ApplicationServer, LoadBalancing, Unsupported, NoHost };

std::string_view without_trailing_blanks(std::string_view text) {
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

std::string_view text_or_empty(const char* text) { return text == nullptr ? std::string_view() : text; }

bool refuse(TextBuffer& problem, std::string_view reason) {
  problem.assign(reason);
  return false;
}

bool add_parameter(LogonParameters& parameters, const char* name, std::string_view value, TextBuffer& problem) {
  if (parameters.add(name, value)) return true;
  if (parameters.count == logon_parameter_limit) return refuse(problem, "too many parameters");
  problem.assignf("value of %s too long", name);
  return false;
}

// Adds a value unless it is empty.
bool add_given(LogonParameters& parameters, const char* name, std::string_view value, TextBuffer& problem) {
  return value.empty() || add_parameter(parameters, name, value, problem);
}

bool add_logon_values(std::string_view client, std::string_view user, std::string_view password,
                      std::string_view language, LogonParameters& parameters, TextBuffer& problem) {
  const struct {
    const char* name;
    std::string_view value;
  } values[] = {{"client", client}, {"user", user}, {"passwd", password}, {"lang", language}};
  for (const auto& logon : values) {
    const std::string_view value = without_trailing_blanks(logon.value);
    if (value.size() > logon_value_limit) return refuse(problem, "logon data too long");
    if (!add_given(parameters, logon.name, value, problem)) return false;
  }
  return true;
}

// The system number as the two digits the library takes, whether the record
// gave a number or the logon file a text; one digit is widened, anything
// else refused.
bool add_system_number(std::string_view number, LogonParameters& parameters, TextBuffer& problem) {
  const bool digits =
      !number.empty() && number.size() <= 2 && number.find_first_not_of("0123456789") == std::string_view::npos;
  if (!digits) {
    problem.assign("invalid system number ");
    problem.append(number);
    return false;
  }
  BoundedText<2> two_digits(number.size() == 1 ? "0" : "");
  two_digits.append(number);
  return add_parameter(parameters, "sysnr", two_digits.view(), problem);
}

/// The application server and its gateway with the route that leads to them.
struct RoutedHosts {
  std::string_view router;
  std::string_view host;
  std::string_view gateway_host;
};

// A name that holds a route must end in a plain host after the route's last "/H/".
bool ends_in_host(const SaprouterRoute& route) {
  return route.router.empty() || (!route.host.empty() && route.host.find('/') == std::string_view::npos);
}

// A SAProuter route ("/H/router/S/3299/W/secret/H/host") in the host or in
// the gateway host goes to the library as it documents routes: the route up
// to and with its last host hop as `saprouter`, the host after it as
// `ashost` or `gwhost`.  One connection takes one route, so two that differ
// are refused.  A route may hold passwords, so no problem text quotes it.
bool split_hosts(std::string_view host, std::string_view gateway_host, RoutedHosts& routed, TextBuffer& problem) {
  const SaprouterRoute server = split_saprouter_route(host);
  const SaprouterRoute gateway = split_saprouter_route(gateway_host);
  if (!ends_in_host(server))
    return refuse(problem, "the SAProuter route does not end in the application server's host");
  if (!ends_in_host(gateway)) return refuse(problem, "the SAProuter route does not end in the gateway's host");
  if (!server.router.empty() && !gateway.router.empty() && server.router != gateway.router)
    return refuse(problem, "the SAProuter routes of the application server and the gateway differ");
  routed = RoutedHosts{server.router.empty() ? gateway.router : server.router, server.host, gateway.host};
  return true;
}

bool add_application_server(const RoutedHosts& routed, std::string_view system_number, std::string_view gateway_service,
                            LogonParameters& parameters, TextBuffer& problem) {
  return add_given(parameters, "saprouter", routed.router, problem) &&
         add_parameter(parameters, "ashost", routed.host, problem) &&
         add_system_number(system_number, parameters, problem) &&
         add_given(parameters, "gwhost", routed.gateway_host, problem) &&
         add_given(parameters, "gwserv", gateway_service, problem);
}

// The profile's host has no logon file to name; its problem names the destination.
bool with_destination(std::string_view destination, TextBuffer& problem) {
  BoundedText<1023> named("destination ");
  named.append(without_trailing_blanks(destination));
  named.append(": ");
  named.append(problem.view());
  problem.assign(named.view());
  return false;
}

bool add_logon_file_application_server(const LogonFileEntry& entry, LogonParameters& parameters, TextBuffer& problem) {
  if (entry.application_server_host.empty()) return refuse(problem, "no ASHOST given");
  RoutedHosts routed;
  return split_hosts(entry.application_server_host.view(), entry.gateway_host.view(), routed, problem) &&
         add_application_server(routed, entry.system_number.view(), entry.gateway_service.view(), parameters, problem);
}

bool add_load_balancing(const LogonFileEntry& entry, LogonParameters& parameters, TextBuffer& problem) {
  if (entry.message_server_host.empty()) return refuse(problem, "no MSHOST given");
  if (entry.system_name.empty()) return refuse(problem, "no R3NAME given");
  return add_parameter(parameters, "mshost", entry.message_server_host.view(), problem) &&
         add_given(parameters, "msserv", entry.message_server_service.view(), problem) &&
         add_parameter(parameters, "sysid", entry.system_name.view(), problem) &&
         add_given(parameters, "group", entry.group.view(), problem);
}

bool add_secure_network(const LogonFileEntry& entry, LogonParameters& parameters, TextBuffer& problem) {
  return add_given(parameters, "snc_mode", entry.snc_mode.view(), problem) &&
         add_given(parameters, "snc_partnername", entry.snc_partner_name.view(), problem) &&
         add_given(parameters, "snc_qop", entry.snc_quality.view(), problem) &&
         add_given(parameters, "snc_myname", entry.snc_own_name.view(), problem) &&
         add_given(parameters, "snc_lib", entry.snc_library.view(), problem);
}

// TYPE=A or B, in either case; without TYPE the hosts given decide.
EntryType entry_type(const LogonFileEntry& entry) {
  if (entry.type.empty()) {
    if (!entry.application_server_host.empty()) return EntryType::ApplicationServer;
    return entry.message_server_host.empty() ? EntryType::NoHost : EntryType::LoadBalancing;
  }
  if (entry.type.size() != 1) return EntryType::Unsupported;
  switch (ascii_upper(entry.type[0])) {
    case 'A':
      return EntryType::ApplicationServer;
    case 'B':
      return EntryType::LoadBalancing;
    default:
      return EntryType::Unsupported;
  }
}

bool add_destination(const LogonFileEntry& entry, LogonParameters& parameters, TextBuffer& problem) {
  switch (entry_type(entry)) {
    case EntryType::ApplicationServer:
      return add_logon_file_application_server(entry, parameters, problem);
    case EntryType::LoadBalancing:
      return add_load_balancing(entry, parameters, problem);
    case EntryType::NoHost:
      return refuse(problem, "neither ASHOST nor MSHOST given");
    case EntryType::Unsupported:
      break;
  }
  problem.assign("TYPE=");
  problem.append(entry.type.view());
  problem.append(" is not supported");
  return false;
}

}  // namespace

bool LogonParameters::add(const char* name, std::string_view value) {
  if (count == logon_parameter_limit) return false;
  LogonParameter& entry = entries[count];
  entry.name = name;
  if (!entry.value.assign(value)) return false;
  ++count;
  return true;
}

const TextBuffer* LogonParameters::find(std::string_view name) const {
  for (std::size_t i = 0; i < count; ++i)
    if (name == entries[i].name) return &entries[i].value;
  return nullptr;
}

bool parameters_from_logon_options(const rfc_logon_options_record& options, LogonParameters& parameters,
                                   TextBuffer& problem) {
  parameters.count = 0;
  if (options.connection_mode == RFC_MODE_R2)
    return refuse(problem, "the NetWeaver RFC library has no R/2 connections");
  if (options.connection_mode != RFC_MODE_R3) {
    problem.assignf("unknown connection mode %d", options.connection_mode);
    return false;
  }
  const auto* server = static_cast<const r3_connection_options_record*>(options.connection_options);
  if (server == nullptr) return refuse(problem, "no host name given");
  const std::string_view host = without_trailing_blanks(text_or_empty(server->hostname));
  if (host.empty()) return refuse(problem, "no host name given");
  RoutedHosts routed;
  if (!split_hosts(host, without_trailing_blanks(text_or_empty(server->gateway_host)), routed, problem))
    return with_destination(text_or_empty(options.destination), problem);
  BoundedText<15> system_number;
  system_number.assignf("%d", server->system_number);
  return add_application_server(routed, system_number.view(),
                                without_trailing_blanks(text_or_empty(server->gateway_service)), parameters, problem) &&
         add_logon_values(text_or_empty(options.client), text_or_empty(options.user), text_or_empty(options.password),
                          text_or_empty(options.language), parameters, problem);
}

bool parameters_from_logon_entry(const ConnectStringFields& fields, const LogonFileEntry& entry,
                                 LogonParameters& parameters, TextBuffer& problem) {
  parameters.count = 0;
  if (!entry.overlong_key.empty()) {
    problem.assignf("value of %s too long", entry.overlong_key.c_str());
    return false;
  }
  return add_destination(entry, parameters, problem) && add_secure_network(entry, parameters, problem) &&
         add_logon_values(fields.client.view(), fields.user.view(), fields.password.view(), fields.language.view(),
                          parameters, problem);
}
