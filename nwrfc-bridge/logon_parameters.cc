#include "logon_parameters.h"

#include "common/ascii.h"

namespace {

/// Longest logon value (client, user, password, language) passed on; a
/// longer one is refused, never cut: a cut password would only log on wrongly.
constexpr std::size_t logon_value_limit = 127;

std::string_view without_trailing_blanks(std::string_view text) {
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

std::string_view text_or_empty(const char* text) { return text == nullptr ? std::string_view() : text; }

bool refuse(TextBuffer& problem, std::string_view reason) {
  problem.assign(reason);
  return false;
}

// Adds a value unless it is empty.
bool add_given(LogonParameters& parameters, const char* name, std::string_view value) {
  return value.empty() || parameters.add(name, value);
}

bool add_logon_values(std::string_view client, std::string_view user, std::string_view password,
                      std::string_view language, LogonParameters& parameters, TextBuffer& problem) {
  const struct {
    const char* name;
    std::string_view value;
  } values[] = {{"client", client}, {"user", user}, {"passwd", password}, {"lang", language}};
  for (const auto& logon : values) {
    const std::string_view value = without_trailing_blanks(logon.value);
    if (value.size() > logon_value_limit || !add_given(parameters, logon.name, value))
      return refuse(problem, "logon data too long");
  }
  return true;
}

// The system number as the two digits the library takes; one digit is
// widened, anything else refused.
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
  return parameters.add("sysnr", two_digits.view());
}

/// The hop that names a host in a SAProuter route.
constexpr std::string_view route_host_hop = "/H/";

// A classic SAProuter route ("/H/router/S/3299/W/secret/H/host") in the host
// goes to the library split as it documents it: the route up to and with
// the last host hop as `saprouter`, the application server after it as
// `ashost`.  The route may hold passwords, so no problem text quotes it.
bool add_host(std::string_view host, LogonParameters& parameters, TextBuffer& problem) {
  if (host.substr(0, route_host_hop.size()) != route_host_hop) {
    return parameters.add("ashost", host) || refuse(problem, "host name too long");
  }
  const std::size_t last_hop = host.rfind(route_host_hop) + route_host_hop.size();
  const std::string_view server = host.substr(last_hop);
  if (server.empty() || server.find('/') != std::string_view::npos)
    return refuse(problem, "the SAProuter route does not end in the application server's host");
  return (parameters.add("saprouter", host.substr(0, last_hop)) && parameters.add("ashost", server)) ||
         refuse(problem, "host name too long");
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

bool add_application_server(const LogonFileEntry& entry, LogonParameters& parameters, TextBuffer& problem) {
  if (entry.application_server_host.empty()) return refuse(problem, "no ASHOST given");
  return add_host(entry.application_server_host.view(), parameters, problem) &&
         add_system_number(entry.system_number.view(), parameters, problem) &&
         add_given(parameters, "gwhost", entry.gateway_host.view()) &&
         add_given(parameters, "gwserv", entry.gateway_service.view());
}

bool add_load_balancing(const LogonFileEntry& entry, LogonParameters& parameters, TextBuffer& problem) {
  if (entry.message_server_host.empty()) return refuse(problem, "no MSHOST given");
  if (entry.system_name.empty()) return refuse(problem, "no R3NAME given");
  return parameters.add("mshost", entry.message_server_host.view()) &&
         add_given(parameters, "msserv", entry.message_server_service.view()) &&
         parameters.add("sysid", entry.system_name.view()) && add_given(parameters, "group", entry.group.view());
}

bool add_secure_network(const LogonFileEntry& entry, LogonParameters& parameters) {
  return add_given(parameters, "snc_mode", entry.snc_mode.view()) &&
         add_given(parameters, "snc_partnername", entry.snc_partner_name.view()) &&
         add_given(parameters, "snc_qop", entry.snc_quality.view()) &&
         add_given(parameters, "snc_myname", entry.snc_own_name.view()) &&
         add_given(parameters, "snc_lib", entry.snc_library.view());
}

// TYPE=A or B, in either case; without TYPE the hosts given decide.
char entry_type(const LogonFileEntry& entry) {
  if (entry.type.size() == 1) return ascii_upper(entry.type[0]);
  if (!entry.type.empty()) return '?';
  if (!entry.application_server_host.empty()) return 'A';
  if (!entry.message_server_host.empty()) return 'B';
  return '-';
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
  if (!add_host(host, parameters, problem)) return with_destination(text_or_empty(options.destination), problem);
  if (server->system_number < 0 || server->system_number > 99) {
    problem.assignf("invalid system number %d", server->system_number);
    return false;
  }
  BoundedText<2> system_number;
  system_number.assignf("%02d", server->system_number);
  if (!parameters.add("sysnr", system_number.view()) ||
      !add_given(parameters, "gwhost", without_trailing_blanks(text_or_empty(server->gateway_host))) ||
      !add_given(parameters, "gwserv", without_trailing_blanks(text_or_empty(server->gateway_service))))
    return refuse(problem, "gateway too long");
  return add_logon_values(text_or_empty(options.client), text_or_empty(options.user), text_or_empty(options.password),
                          text_or_empty(options.language), parameters, problem);
}

bool parameters_from_logon_entry(const ConnectStringFields& fields, const LogonFileEntry& entry,
                                 LogonParameters& parameters, TextBuffer& problem) {
  parameters.count = 0;
  if (!entry.overlong_key.empty()) {
    problem.assignf("value of %s too long", entry.overlong_key.c_str());
    return false;
  }
  bool destination_added = false;
  switch (entry_type(entry)) {
    case 'A':
      destination_added = add_application_server(entry, parameters, problem);
      break;
    case 'B':
      destination_added = add_load_balancing(entry, parameters, problem);
      break;
    case '-':
      return refuse(problem, "neither ASHOST nor MSHOST given");
    default:
      problem.assign("TYPE=");
      problem.append(entry.type.view());
      problem.append(" is not supported");
      return false;
  }
  if (!destination_added) return false;
  if (!add_secure_network(entry, parameters)) return refuse(problem, "too many parameters");
  return add_logon_values(fields.client.view(), fields.user.view(), fields.password.view(), fields.language.view(),
                          parameters, problem);
}
