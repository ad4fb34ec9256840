#include "platform/command_line.h"

const ProgramArguments& program_arguments(int argc, char** argv) {
  static ProgramArguments arguments;
  arguments.count = argc;
  arguments.values = argv;
  return arguments;
}
