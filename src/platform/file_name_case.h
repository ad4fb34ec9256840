// How each system matches the name of a file: Windows finds "PRD.P00" under
// the name "prd.p00" too, Linux does not.  What reads an installation of the
// other system judges its names by that system's rule.
#pragma once

#include <string_view>

/// How a system compares file names.
enum class FileNameCase {
  /// Every byte counts (Linux).
  Exact,
  /// The letters a to z count as A to Z (Windows, for the names of ASCII an
  /// installation uses; its file systems fold other letters too).
  IgnoringCase,
};

/// Whether `name` and `other` name the same file under `rule`.
bool same_file_name(std::string_view name, std::string_view other, FileNameCase rule);

/// Whether `name` begins with `prefix` under `rule`.
bool file_name_starts_with(std::string_view name, std::string_view prefix, FileNameCase rule);
