#include "check_command.h"

#include <string>

#include "config/profile_name.h"
#include "profile_check.h"
#include "tool_output.h"

const char* const check_usage =
    "Usage: quenmarel-profile check PROFILE\n"
    "\n"
    "Reads the profile the way a single-system run of the sensor reads it\n"
    "(PRD is PRD.P00, as for the sensor) and prints every defect it finds:\n"
    "missing labels, values that are too short or too long, stored passwords\n"
    "that are malformed or fail their check, a value that does not stand one\n"
    "blank after its label's colon, a system number that is not two digits\n"
    "(the sensor reads these two otherwise than they are written).  Ends with\n"
    "the error the sensor would report.  The password is never printed.  Exit\n"
    "code 0 when the sensor accepts the profile and reads it as written, 2\n"
    "otherwise.\n";

namespace {

// The name the sensor's messages use: the file name without its directory.
std::string bare_file_name(const std::string& path) {
  const std::size_t separator = path.find_last_of("\\/");
  return separator == std::string::npos ? path : path.substr(separator + 1);
}

}  // namespace

int run_check(int argc, const char* const* argv) {
  if (argc == 1 && std::string(argv[0]) == "--help") {
    print_text(check_usage);
    return 0;
  }
  if (argc != 1 || argv[0][0] == '-') return refuse_usage("check takes one profile file", check_usage);
  std::string path = argv[0];
  if (!has_profile_extension(path)) path += default_profile_extension;
  ProfileCheck check;
  if (!check_profile(path, bare_file_name(path), check)) {
    print_error("cannot open " + path);
    return tool_failure;
  }
  for (const std::string& defect : check.defects) print_line(path + ": " + defect);
  if (!check.verdict.ok()) {
    print_line(path + ": the sensor refuses it with " + std::string(check.verdict.message()));
    return tool_failure;
  }
  if (!check.misreadings.empty()) {
    print_line(path + ": the sensor accepts this profile but reads a value otherwise than it is written: " +
               joined_remedies(check));
    return tool_failure;
  }
  print_line(path + ": the sensor accepts this profile");
  return 0;
}
