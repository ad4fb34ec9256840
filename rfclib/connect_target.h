// Where a connection goes: the host and TCP port of the partner.
#pragma once

#include <string_view>

#include "common/bounded_text.h"
#include "socket_io.h"

/// Host and port of an application server or gateway.
struct ConnectTarget {
  /// Host name or address; a longer one is refused, never cut.
  BoundedText<255> host;
  int port = 0;
};

/// Port of the application server of system number `system_number` (0 to 99):
/// the gateway convention, 3300 plus the number.  False for other numbers.
bool application_server_port(int system_number, int* port);

/// Port of a gateway service: "sapgwNN" is 3300 plus NN (00 to 99, the
/// letters in either case), a plain number from 1 to 65535 is that port.
/// False for anything else.
bool gateway_service_port(std::string_view service, int* port);

/// Sets the target from a host and a system number given as text (as in the
/// logon file); false, with the reason in `problem`, when either is unusable.
bool target_from_system_number(std::string_view host, std::string_view system_number, ConnectTarget& target,
                               TextBuffer& problem);

/// The status and message of a connection to `target` that could not be
/// made, as the libraries report it.
void describe_connect_failure(ConnectOutcome outcome, const ConnectTarget& target, const char** status,
                              TextBuffer& message);
