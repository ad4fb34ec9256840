#include "scramble_command.h"

#include <string>

#include "password_input.h"
#include "tool_output.h"

const char* const scramble_usage =
    "Usage: quenmarel-profile scramble < FILE\n"
    "\n"
    "Reads one line from standard input, the password (1 to 20 characters from\n"
    "blank to tilde), and prints the 24 characters a profile holds after\n"
    "\"Password...: \".  The same password always gives the same characters.\n"
    "The password is never taken from the command line, where other users\n"
    "could read it.  At a terminal it is asked for on standard error and not\n"
    "shown while it is typed.\n";

int run_scramble(int argc, const char* const* argv) {
  if (argc == 1 && std::string(argv[0]) == "--help") {
    print_text(scramble_usage);
    return 0;
  }
  if (argc > 0) return refuse_usage("scramble takes no arguments", scramble_usage);
  std::string password, stored;
  if (!read_password(1, password) || !scramble_for_profile(password, stored)) return tool_failure;
  print_line(stored);
  return 0;
}
