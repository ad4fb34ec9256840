// Finding the monitor's custom-sensor directory, which holds the sensor's files
// when its result goes to the monitor.
#pragma once

#include "config/config_status.h"
#include "config/profile_location.h"
#include "platform/files.h"

/// The path file that may name the directory the monitor is installed in or below.
inline constexpr const char* path_file_name = "C:\\PRTG_Path.Txt";

/// Replaces `sensor_directory` with the directory that holds `profile_file_name`
/// (from the path file, or else from the standard directories), sets
/// `profile_path` and opens the profile into `profile`.  Refuses a profile
/// found nowhere (error 1002) and a directory longer than `sensor_directory`
/// holds (error 1017).
ConfigStatus resolve_sensor_directory(ProfileLocation& location, OwnedFile& profile);
