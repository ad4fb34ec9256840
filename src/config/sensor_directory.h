// Finding the monitor's custom-sensor directory, which holds the sensor's files
// when its result goes to the monitor.
#pragma once

#include <cstdio>

struct RunState;

/// The path file that may name the directory the monitor is installed in or below.
inline constexpr const char* path_file_name = "C:\\PRTG_Path.Txt";

/// Replaces `sensor_directory` with the directory that holds `profile_file_name`
/// (from the path file, or else from the standard directories), sets
/// `profile_path` and returns the profile open for reading.  Ends the run with
/// error 1002 when the profile is found nowhere, and with error 1017 when the
/// directory would be longer than `sensor_directory` holds.
std::FILE* resolve_sensor_directory(RunState& state);
