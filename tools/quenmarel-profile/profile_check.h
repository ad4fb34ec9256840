// A profile read the way a single-system run reads it, with every defect in
// plain words: what `check` prints and what `doctor` reports of each profile.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "config/config_status.h"
#include "config/system_entry.h"

/// What reading one profile found.
struct ProfileCheck {
  /// The fields as the sensor stores them (a refused field stays empty).
  SystemEntry entry;
  /// Each defect, "line 5: ..." or "label ... is missing".
  std::vector<std::string> defects;
  /// The sensor's verdict: success, or its refusal with the numbered message.
  ConfigStatus verdict;
};

/// Whether `value` is a system number: exactly two digits, as the sensor
/// needs them (it connects with the number its digits make, "0x" as 0).
bool is_system_number(std::string_view value);

/// Checks the profile at `path`, whose messages name it `file_name`; false
/// when it cannot be opened.
bool check_profile(const std::string& path, const std::string& file_name, ProfileCheck& check);
