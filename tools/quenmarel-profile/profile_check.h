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
  /// What to do about the values the sensor reads otherwise than written,
  /// one remedy each; empty when it reads every value as written.
  std::vector<std::string> misreadings;
  /// The sensor's verdict: success, or its refusal with the numbered message.
  ConfigStatus verdict;
};

/// The remedies of `check.misreadings`, joined into one text.
std::string joined_remedies(const ProfileCheck& check);

/// Checks the profile at `path`, whose messages name it `file_name`; false
/// when it cannot be opened.
bool check_profile(const std::string& path, const std::string& file_name, ProfileCheck& check);
