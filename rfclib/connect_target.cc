#include "connect_target.h"

#include "common/ascii.h"
#include "common/time_budget.h"
#include "frame_exchange.h"

namespace {

// The gateway convention: system number NN listens on port 3300 + NN.
constexpr int gateway_base_port = 3300;
constexpr std::string_view gateway_service_prefix = "SAPGW";

// A decimal number of at most `max_digits` digits and nothing else.
bool parse_digits(std::string_view text, std::size_t max_digits, int* value) {
  if (text.empty() || text.size() > max_digits) return false;
  int number = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    number = number * 10 + (c - '0');
  }
  *value = number;
  return true;
}

}  // namespace

bool application_server_port(int system_number, int* port) {
  if (system_number < 0 || system_number > 99) return false;
  *port = gateway_base_port + system_number;
  return true;
}

bool gateway_service_port(std::string_view service, int* port) {
  int number = 0;
  if (starts_with_ignoring_case(service, gateway_service_prefix)) {
    if (!parse_digits(service.substr(gateway_service_prefix.size()), 2, &number)) return false;
    *port = gateway_base_port + number;
    return true;
  }
  if (!parse_digits(service, 5, &number) || number < 1 || number > 65535) return false;
  *port = number;
  return true;
}

bool target_from_system_number(std::string_view host, std::string_view system_number, ConnectTarget& target,
                               TextBuffer& problem) {
  int number = -1;
  if (!parse_digits(system_number, 2, &number) || !application_server_port(number, &target.port)) {
    problem.assign("invalid system number ");
    problem.append(system_number);
    return false;
  }
  if (host.empty() || !target.host.assign(host)) {
    problem.assign(host.empty() ? "no host name given" : "host name too long");
    return false;
  }
  return true;
}

void describe_connect_failure(ConnectOutcome outcome, const ConnectTarget& target, const char** status,
                              TextBuffer& message) {
  switch (outcome) {
    case ConnectOutcome::HostNotFound:
      *status = "host not found";
      message.assignf("host %s not found", target.host.c_str());
      return;
    case ConnectOutcome::Refused:
      *status = "connection refused";
      message.assignf("connection to %s:%d refused", target.host.c_str(), target.port);
      return;
    case ConnectOutcome::TimedOut:
      *status = "connect timeout";
      message.assignf("no connection to %s:%d within %d s", target.host.c_str(), target.port,
                      library_connect_wait_ms / 1000);
      return;
    case ConnectOutcome::Connected:
    case ConnectOutcome::Failed:
      break;
  }
  *status = "connection failed";
  message.assignf("connection to %s:%d failed", target.host.c_str(), target.port);
}
