// From the first argument to the profile's file name and directory.
#pragma once

struct RunState;

/// Sets `profile_file_name`, `sensor_directory` and, for "ITEM=" or GLOBAL,
/// `item_mode` (and `item_name`) from the first command-line argument.
void form_profile_name(RunState& state, const char* argument);
