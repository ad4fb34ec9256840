#include "scramble_command.h"

#include <string>

#include "password_input.h"
#include "tool_output.h"

const char* const scramble_usage =
    "Usage: quenmarel-profile scramble < FILE\n"
    "\n"
    "Reads one line from standard input, the password, and prints the 24\n"
    "characters a profile holds after \"Password...: \".  The same password\n"
    "always gives the same characters.  The password is never taken from the\n"
    "command line, where other users could read it.  At a terminal it is asked\n"
    "for on standard error and not shown while it is typed.\n"
    "\n" QUENMAREL_PASSWORD_RULES;

int run_scramble(int argc, const char* const* argv) {
  if (argc == 1 && std::string(argv[0]) == "--help") {
    print_text(scramble_usage);
    return 0;
  }
  if (argc > 0) return refuse_usage("scramble takes no arguments", scramble_usage);
  std::string password, stored;
  if (!read_password(password) || !scramble_for_profile(password, stored)) return tool_failure;
  print_line(stored);
  return 0;
}
