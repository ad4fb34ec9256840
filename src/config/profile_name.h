// From the first argument to the profile's file name and directory.
#pragma once

#include <string_view>

#include "common/run_options.h"
#include "config/config_status.h"
#include "config/item_name.h"
#include "config/profile_location.h"

/// Sets `profile_file_name`, `sensor_directory` and, for "ITEM=" or GLOBAL,
/// `item_mode` (and for "ITEM=" `item_name`) from the first command-line
/// argument.  Refuses a name longer than its texts hold (error 1016).
ConfigStatus form_profile_name(ProfileLocation& location, ItemName& item_name, const RunOptions& options,
                               const char* argument);

/// What a profile name without an extension gets: `PRD` is `PRD.P00`.
inline constexpr std::string_view default_profile_extension = ".P00";

/// Whether the profile name keeps its form: its fourth character from the end is a dot.
bool has_profile_extension(std::string_view name);
