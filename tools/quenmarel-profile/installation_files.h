// The files of the installation the doctor inspects, which is its working
// directory: their names, and their bytes read without trusting their size.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_name_case.h"

/// Most bytes read of one file; the largest library of an installation (the
/// Unicode data of the NetWeaver SDK) has some tens of megabytes.
inline constexpr std::uint64_t most_file_bytes = std::uint64_t{256} << 20;

/// The names the installation directory holds, sorted.
struct InstallationFiles {
  std::vector<std::string> names;

  /// Whether a file of exactly this name is there.
  bool has(std::string_view name) const;
  /// The name that equals `name` but for letter case; empty when none does.
  std::string find_ignoring_case(std::string_view name) const;
  /// Every name that names the same file as `name` under `rule`.
  std::vector<std::string> named(std::string_view name, FileNameCase rule) const;
  /// Every name that starts with `prefix` and ends with `suffix`, letter case ignored.
  std::vector<std::string> matching(std::string_view prefix, std::string_view suffix) const;
};

/// Reads the names of the working directory; false when it cannot be read.
bool read_installation_files(InstallationFiles& files);

/// How reading a whole file went.
enum class FileReading { Read, Missing, TooLarge };

/// Reads the whole file at `path` into `bytes`, unless it is larger than most_file_bytes.
FileReading read_whole_file(const std::string& path, std::string& bytes);

/// Whether `text` ends with `suffix`, letter case ignored.
bool ends_with_ignoring_case(std::string_view text, std::string_view suffix);
