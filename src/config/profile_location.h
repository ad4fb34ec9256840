// Where the run's profile (or listing) lies, as the first argument and the
// directory search leave it.
#pragma once

#include <cstddef>

#include "common/bounded_text.h"
#include "platform/files.h"

/// Most characters of a profile's file name.
inline constexpr std::size_t profile_file_name_capacity = 63;

/// Most characters of the directory prefix of the profile.
inline constexpr std::size_t sensor_directory_capacity = 95;

/// The directory prefix and the file name side by side.
inline constexpr std::size_t profile_path_capacity = sensor_directory_capacity + profile_file_name_capacity;

/// A profile's bare file name.
using ProfileFileName = BoundedText<profile_file_name_capacity>;
/// A directory prefix and a profile's file name.
using ProfilePath = BoundedText<profile_path_capacity>;

/// The profile's location and the kind of run it asks for.
struct ProfileLocation {
  /// The bare file name, or the listing's in item mode.
  ProfileFileName profile_file_name;
  /// Empty for the working directory, otherwise ending in a backslash.
  BoundedText<sensor_directory_capacity> sensor_directory;
  /// `sensor_directory` followed by `profile_file_name`, once the profile is found.
  ProfilePath profile_path;
  /// On for the option "ITEM=" or the profile name GLOBAL.
  bool item_mode = false;
  /// How configuration files are opened; tests replace it.
  FileOpener open_for_reading = open_file_for_reading;
};

/// Joins the directory and a file name into `path`.
inline void join_path(const ProfileLocation& location, std::string_view file_name, ProfilePath& path) {
  path.assign(location.sensor_directory.view());
  path.append(file_name);
}
