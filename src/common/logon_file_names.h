// The names of the RFC library's logon files, as the sensor, our RFC
// libraries and the doctor know them.
#pragma once

#include <string_view>

#include "common/bounded_text.h"

/// Before the destination in the name of a destination's logon file, "SapRfc.PRD".
inline constexpr std::string_view destination_logon_file_prefix = "SapRfc.";

/// The logon file the library reads when RFC_INI names none, in the working directory.
inline constexpr const char* default_logon_file_name = "SapRfc.ini";

/// The lock under which runs take turns to copy a destination's logon file.
inline constexpr const char* logon_file_lock_name = "SapRfc.ini.lock";

/// A copy of a destination's logon file while it is written.
inline constexpr const char* logon_file_temporary_name = "SapRfc.ini.new";

/// A run's own copy of a destination's logon file is named this prefix, its
/// process number and own_logon_file_suffix.
inline constexpr std::string_view own_logon_file_prefix = "SapRfc-";
/// See own_logon_file_prefix.
inline constexpr std::string_view own_logon_file_suffix = ".ini";

/// Writes the name of the logon file of `destination`, "SapRfc." and the
/// destination; cut, and false, when it does not fit.
inline bool form_destination_logon_file_name(std::string_view destination, TextBuffer& name) {
  name.assign(destination_logon_file_prefix);
  return name.append(destination);
}
