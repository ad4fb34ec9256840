// The scenario rfcsim plays: one simulated application server per [system].
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "common/rfc_names.h"

/// How a system answers a call.
enum class CallMode { Ok, Failure, Exception, SystemException, Code, Abort, Close };

/// One simulated system.
struct SystemScenario {
  /// Line of its "[system]" header, for messages.
  int line = 0;
  /// The listen value as written, as the log lines show it.
  std::string listen;
  /// The host part of `listen`.
  std::string host;
  /// The port part of `listen`.
  int port = 0;
  /// Whether a logon must match `client`, `user` (upper-cased) or `password`.
  bool client_given = false, user_given = false, password_given = false;
  /// The logon data the system expects.
  std::string client, user, password;
  /// False when every logon is rejected.
  bool accept_logon = true;
  /// True when a logon is never answered: the system takes the connection and stays silent.
  bool silent_logon = false;
  /// How calls are answered.
  CallMode call = CallMode::Ok;
  /// The result code answered in CallMode::Code (4 or more).
  std::int32_t code = 0;
  /// Exception text, or the detail of the library's trace file.
  std::string text;
  /// Wait before each reply.
  int delay_ms = 0;
  /// When not 0, the logon answer goes out one byte at a time, this far apart.
  int logon_drip_ms = 0;
  /// When not 0, each call's reply goes out one byte at a time, this far apart.
  int reply_drip_ms = 0;
  /// The values an ok call reports, in the order of roll_page_value_names.
  std::int32_t values[roll_page_value_count] = {};
  /// Values an ok call leaves out of its reply, as a faulty system would.
  bool omitted[roll_page_value_count] = {};
};

/// Longest `text` a scenario may give; a longer one is refused.
inline constexpr std::size_t scenario_text_limit = 2000;

/// Reads a scenario file.  On a fault returns false and sets `error` to a
/// message that names the file and the line.
bool load_scenario(const std::string& path, std::vector<SystemScenario>& systems, std::string& error);
