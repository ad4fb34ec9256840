// Any path file, and any answer of the disk, in the search for the monitor's
// custom-sensor directory.  The input's first byte says what exists: bit 5
// the path file, bits 0 to 4 the first to fifth place the search then tries
// for the profile; bit 6 gives the profile a name of the longest length
// allowed.  The rest of the input is the path file.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "config/sensor_directory.h"
#include "fuzz_check.h"
#include "virtual_files.h"

namespace {

constexpr unsigned path_file_bit = 1u << 5;
constexpr unsigned long_name_bit = 1u << 6;
constexpr unsigned places_told = 5;

const std::string short_name = "PRD.P00";
const std::string long_name = std::string(profile_file_name_capacity - 4, 'N') + ".P00";

constexpr std::string_view standard_directories[] = {
    "",
    "\\Programme\\PRTG Network Monitor\\Custom Sensors\\ExeXml\\",
    "\\Program Files\\PRTG Network Monitor\\Custom Sensors\\ExeXml\\",
    "\\Program Files (x86)\\PRTG Network Monitor\\Custom Sensors\\ExeXml\\",
};

/// The disk the search sees during one input.
struct Disk {
  VirtualFiles* files = nullptr;
  unsigned existing = 0;
  std::string_view path_file;
  std::string_view profile_name;
  unsigned places_tried = 0;
  std::string last_place;
};

Disk disk;

// Each place the search tries is a whole candidate path: the profile's
// name must end it, uncut.
std::FILE* open_on_disk(const char* windows_path) {
  const std::string path(windows_path);
  if (path == path_file_name) {
    if (disk.existing & path_file_bit) disk.files->add(path, std::string(disk.path_file));
    return VirtualFiles::open(windows_path);
  }
  FUZZ_CHECK(path.size() >= disk.profile_name.size() &&
             path.compare(path.size() - disk.profile_name.size(), std::string::npos, disk.profile_name) == 0);
  const unsigned place = disk.places_tried++;
  disk.last_place = path;
  if (place < places_told && ((disk.existing >> place) & 1u)) disk.files->add(path, "");
  return VirtualFiles::open(windows_path);
}

bool names_directory(std::string_view directory) {
  return directory.substr(0, 1) == "\\" || directory.substr(2, 1) == "\\" || directory.substr(1, 1) == ":";
}

bool is_standard_directory(std::string_view directory) {
  for (std::string_view standard : standard_directories)
    if (directory == standard) return true;
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return -1;
  VirtualFiles files;
  disk = Disk();
  disk.files = &files;
  disk.existing = data[0];
  disk.path_file = std::string_view(reinterpret_cast<const char*>(data) + 1, size - 1);
  disk.profile_name = disk.existing & long_name_bit ? long_name : short_name;
  const bool path_file_exists = disk.existing & path_file_bit;

  ProfileLocation location;
  location.open_for_reading = open_on_disk;
  location.profile_file_name.assign(disk.profile_name);
  location.sensor_directory.assign("given\\");
  OwnedFile profile;
  const ConfigStatus resolved = resolve_sensor_directory(location, profile);

  if (!resolved.ok()) {
    FUZZ_CHECK(profile == nullptr);
    FUZZ_CHECK(files.open_count() == 0);
    const bool missing =
        resolved.message() == "Error 1002: Profile " + std::string(disk.profile_name) + " is missing...";
    FUZZ_CHECK(missing || (path_file_exists && refusal_is_one_of(resolved.message(), {"1017"})));
    return 0;
  }
  // Only the profile stays open, and it is the file the run's messages name.
  FUZZ_CHECK(profile != nullptr);
  FUZZ_CHECK(files.open_count() == 1);
  const std::string_view directory = location.sensor_directory.view();
  FUZZ_CHECK(location.profile_path.equals(std::string(directory) + std::string(disk.profile_name)));
  FUZZ_CHECK(location.profile_path.equals(disk.last_place));
  if (!path_file_exists) {
    FUZZ_CHECK(is_standard_directory(directory));
    return 0;
  }
  // A directory from the path file is a line that names one, ended by a backslash.
  FUZZ_CHECK(directory.size() <= sensor_directory_capacity);
  FUZZ_CHECK(location.sensor_directory.ends_with('\\'));
  FUZZ_CHECK(names_directory(directory));
  FUZZ_CHECK(directory.find_first_of(std::string_view("\n\0", 2)) == std::string_view::npos);
  return 0;
}
