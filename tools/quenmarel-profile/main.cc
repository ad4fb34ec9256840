// quenmarel-profile: writes and checks the system profiles of the sensor.
#include <string>

#include "check_command.h"
#include "doctor_command.h"
#include "new_command.h"
#include "platform/process.h"
#include "scramble_command.h"
#include "tool_output.h"

namespace {

const char* const tool_usage =
    "Usage: quenmarel-profile COMMAND [ARGUMENTS]\n"
    "\n"
    "Writes and checks the system profiles of the Quenmarel sensor.\n"
    "\n"
    "Commands:\n"
    "  scramble      read a password from standard input, print its stored form\n"
    "  check FILE    print every defect the sensor would find in a profile\n"
    "  new FILE ...  write a complete profile, the password from standard input\n"
    "\n"
    "\"quenmarel-profile COMMAND --help\" describes a command.\n";

int run_command(int argc, const char* const* argv) {
  if (argc < 2) return refuse_usage("no command given", tool_usage);
  const std::string command = argv[1];
  if (command == "--help") {
    if (argc > 2) return refuse_usage("--help takes no arguments", tool_usage);
    print_text(tool_usage);
    return 0;
  }
  if (command == "scramble") return run_scramble(argc - 2, argv + 2);
  if (command == "check") return run_check(argc - 2, argv + 2);
  if (command == "new") return run_new(argc - 2, argv + 2);
  // Not listed in the usage above, whose bytes stay as they were released;
  // the README and "doctor --help" describe it.
  if (command == "doctor") return run_doctor(argc - 2, argv + 2);
  return refuse_usage("unknown command " + command, tool_usage);
}

}  // namespace

int main(int argc, char** argv) {
  // Both builds print the same bytes: every line feed is the single byte 10.
  prepare_standard_streams("quenmarel-profile");
  exit_process(run_command(argc, argv));
}
