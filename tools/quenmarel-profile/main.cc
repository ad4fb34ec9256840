// quenmarel-profile: writes and checks the system profiles of the sensor.
#include <string>

#include "check_command.h"
#include "doctor_command.h"
#include "new_command.h"
#include "platform/command_line.h"
#include "platform/process.h"
#include "scramble_command.h"
#include "tool_output.h"

namespace {

/// One command: its name, the line the usage gives it, and what runs it.
struct ToolCommand {
  const char* name;
  const char* usage_line;
  int (*run)(int argc, const char* const* argv);
};

constexpr ToolCommand tool_commands[] = {
    {"scramble", "  scramble      read a password from standard input, print its stored form\n", run_scramble},
    {"check", "  check FILE    print every defect the sensor would find in a profile\n", run_check},
    {"new", "  new FILE ...  write a complete profile, the password from standard input\n", run_new},
    {"doctor", "  doctor [DIR]  tell what keeps an installation from measuring, and what to do\n", run_doctor},
};

std::string tool_usage() {
  std::string usage =
      "Usage: quenmarel-profile COMMAND [ARGUMENTS]\n"
      "\n"
      "Writes and checks the system profiles of the Quenmarel sensor.\n"
      "\n"
      "Commands:\n";
  for (const ToolCommand& command : tool_commands) usage += command.usage_line;
  return usage + "\n\"quenmarel-profile COMMAND --help\" describes a command.\n";
}

int run_command(int argc, const char* const* argv) {
  const std::string usage = tool_usage();
  if (argc < 2) return refuse_usage("no command given", usage.c_str());
  const std::string name = argv[1];
  if (name == "--help") {
    if (argc > 2) return refuse_usage("--help takes no arguments", usage.c_str());
    print_text(usage.c_str());
    return 0;
  }
  for (const ToolCommand& command : tool_commands)
    if (name == command.name) return command.run(argc - 2, argv + 2);
  return refuse_usage("unknown command " + name, usage.c_str());
}

}  // namespace

int main(int argc, char** argv) {
  // Both builds print the same bytes: every line feed is the single byte 10.
  prepare_standard_streams("quenmarel-profile");
  const ProgramArguments& arguments = program_arguments(argc, argv);
  exit_process(run_command(arguments.count, arguments.values));
}
