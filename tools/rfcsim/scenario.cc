#include "scenario.h"

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>
#include <utility>

namespace {

bool fail(std::string& fault, std::string text) {
  fault = std::move(text);
  return false;
}

std::string trimmed(const std::string& text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return std::string();
  const std::size_t last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

bool parse_integer(const std::string& text, long long low, long long high, long long* value) {
  if (text.empty()) return false;
  char* end = nullptr;
  errno = 0;
  const long long number = std::strtoll(text.c_str(), &end, 10);
  if (errno != 0 || *end != '\0' || text[0] == ' ' || number < low || number > high) return false;
  *value = number;
  return true;
}

bool parse_listen(const std::string& value, SystemScenario& system) {
  const std::size_t colon = value.rfind(':');
  long long port = 0;
  if (colon == std::string::npos || colon == 0 || !parse_integer(value.substr(colon + 1), 1, 65535, &port))
    return false;
  system.host = value.substr(0, colon);
  system.port = static_cast<int>(port);
  system.listen = value;
  return true;
}

bool parse_call_mode(const std::string& value, CallMode* mode) {
  static const struct {
    const char* name;
    CallMode mode;
  } modes[] = {{"ok", CallMode::Ok},
               {"failure", CallMode::Failure},
               {"exception", CallMode::Exception},
               {"system_exception", CallMode::SystemException},
               {"code", CallMode::Code},
               {"abort", CallMode::Abort},
               {"close", CallMode::Close}};
  for (const auto& known : modes)
    if (value == known.name) {
      *mode = known.mode;
      return true;
    }
  return false;
}

// A line cannot hold a line feed, so a text writes it "\n" (and a backslash
// "\\"); every other byte stands for itself.  False for any other backslash.
bool unescape_text(const std::string& value, std::string& text) {
  text.clear();
  for (std::size_t i = 0; i < value.size(); ++i) {
    if (value[i] != '\\') {
      text.push_back(value[i]);
      continue;
    }
    if (++i == value.size()) return false;
    if (value[i] == 'n')
      text.push_back('\n');
    else if (value[i] == '\\')
      text.push_back('\\');
    else
      return false;
  }
  return true;
}

int value_index(const std::string& key) {
  for (std::size_t i = 0; i < roll_page_value_count; ++i)
    if (key == roll_page_value_names[i]) return static_cast<int>(i);
  return -1;
}

// Marks each of the blank-separated value names in `names` as left out.
bool parse_omitted(const std::string& names, SystemScenario& system) {
  std::istringstream words(names);
  std::string name;
  bool any = false;
  while (words >> name) {
    if (value_index(name) < 0) return false;
    system.omitted[value_index(name)] = any = true;
  }
  return any;
}

// Takes one "key = value" line into the system; false with the fault in `fault`.
bool take_setting(const std::string& key, const std::string& value, SystemScenario& system, std::string& fault) {
  long long number = 0;
  if (key == "listen") {
    if (!parse_listen(value, system)) return fail(fault, "listen must be HOST:PORT, got '" + value + "'");
  } else if (key == "client") {
    system.client_given = true;
    system.client = value;
  } else if (key == "user") {
    system.user_given = true;
    system.user = value;
  } else if (key == "password") {
    system.password_given = true;
    system.password = value;
  } else if (key == "logon") {
    if (value != "accept" && value != "reject" && value != "silent")
      return fail(fault, "logon must be accept or reject, or silent");
    system.accept_logon = value != "reject";
    system.silent_logon = value == "silent";
  } else if (key == "call") {
    if (!parse_call_mode(value, &system.call))
      return fail(fault, "call must be ok, failure, exception, system_exception, code or abort");
  } else if (key == "code") {
    if (!parse_integer(value, 4, INT32_MAX, &number)) return fail(fault, "code must be a number from 4 to 2147483647");
    system.code = static_cast<std::int32_t>(number);
  } else if (key == "text") {
    if (!unescape_text(value, system.text))
      return fail(fault, "text may hold a backslash only as \\n (a line feed) or \\\\ (a backslash)");
    if (system.text.size() > scenario_text_limit)
      return fail(fault, "text longer than " + std::to_string(scenario_text_limit) + " characters");
  } else if (key == "delay_ms") {
    if (!parse_integer(value, 0, 600000, &number)) return fail(fault, "delay_ms must be a number from 0 to 600000");
    system.delay_ms = static_cast<int>(number);
  } else if (key == "logon_drip_ms" || key == "reply_drip_ms") {
    if (!parse_integer(value, 0, 600000, &number)) return fail(fault, key + " must be a number from 0 to 600000");
    (key == "logon_drip_ms" ? system.logon_drip_ms : system.reply_drip_ms) = static_cast<int>(number);
  } else if (key == "omit") {
    if (!parse_omitted(value, system)) return fail(fault, "omit must name reported values, separated by blanks");
  } else if (value_index(key) >= 0) {
    if (!parse_integer(value, INT32_MIN, INT32_MAX, &number))
      return fail(fault, key + " must be a 32-bit signed integer");
    system.values[value_index(key)] = static_cast<std::int32_t>(number);
  } else {
    return fail(fault, "unknown key '" + key + "'");
  }
  return true;
}

// What a whole section must hold; false with the fault in `fault`.
bool check_system(const SystemScenario& system, const std::set<std::string>& keys, std::string& fault) {
  if (keys.count("listen") == 0) return fail(fault, "[system] without listen");
  if (system.call == CallMode::Code && keys.count("code") == 0) return fail(fault, "call = code without code");
  if (system.call != CallMode::Code && keys.count("code") != 0) return fail(fault, "code without call = code");
  return true;
}

}  // namespace

bool load_scenario(const std::string& path, std::vector<SystemScenario>& systems, std::string& error) {
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    error = "cannot read " + path;
    return false;
  }
  auto refuse = [&](int line, const std::string& fault) {
    error = path + " line " + std::to_string(line) + ": " + fault;
    return false;
  };
  std::set<std::string> keys;  // of the section being read
  std::string raw;
  int line = 0;
  std::string fault;
  while (std::getline(file, raw)) {
    ++line;
    if (!raw.empty() && raw.back() == '\r') raw.pop_back();
    const std::string text = trimmed(raw);
    if (text.empty() || text[0] == '#') continue;
    if (text == "[system]") {
      if (!systems.empty() && !check_system(systems.back(), keys, fault)) return refuse(systems.back().line, fault);
      systems.emplace_back();
      systems.back().line = line;
      keys.clear();
      continue;
    }
    const std::size_t equals = text.find('=');
    if (equals == std::string::npos) return refuse(line, "expected 'key = value' or [system]");
    const std::string key = trimmed(text.substr(0, equals));
    const std::string value = trimmed(text.substr(equals + 1));
    if (systems.empty()) return refuse(line, "'" + key + "' before the first [system]");
    if (!keys.insert(key).second) return refuse(line, "'" + key + "' given twice");
    if (!take_setting(key, value, systems.back(), fault)) return refuse(line, fault);
  }
  if (systems.empty()) return refuse(line, "no [system] section");
  if (!check_system(systems.back(), keys, fault)) return refuse(systems.back().line, fault);
  return true;
}
