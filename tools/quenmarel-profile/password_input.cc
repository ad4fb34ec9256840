#include "password_input.h"

#include <algorithm>
#include <cstdio>

#include "common/ascii.h"
#include "common/bounded_text.h"
#include "config/password.h"
#include "config/password_scrambling.h"
#include "platform/terminal.h"
#include "tool_output.h"

namespace {

// Reads up to the line feed, but no more than `most` characters: what follows
// a line that long is never needed.
bool read_line(std::size_t most, std::string& line) {
  line.clear();
  int c = std::getc(stdin);
  if (c == EOF) return false;
  while (c != EOF && c != '\n') {
    line.push_back(static_cast<char>(c));
    if (line.size() == most) break;
    c = std::getc(stdin);
  }
  return true;
}

// At a terminal the password is asked for on standard error, which leaves
// standard output to the result, and typed without being shown.
bool read_password_line(std::size_t most, std::string& line) {
  if (!standard_input_is_terminal()) return read_line(most, line);
  const TerminalEchoOff echo_off;
  std::fputs("Password: ", stderr);
  std::fflush(stderr);
  const bool read = read_line(most, line);
  std::fputc('\n', stderr);  // the line feed typed was not shown either
  return read;
}

}  // namespace

bool read_password(std::size_t shortest, std::string& password) {
  // Two characters more than a password may have: a carriage return may follow
  // a password that just fits.
  if (!read_password_line(longest_storable_password + 2, password)) {
    print_error("no password on standard input");
    return false;
  }
  if (!password.empty() && password.back() == '\r') password.pop_back();
  if (password.size() > longest_storable_password) {
    print_error("the password is longer than 20 characters");
    return false;
  }
  if (password.size() < shortest) {
    print_error(shortest == 1 ? "the password is empty"
                              : "the password is shorter than " + std::to_string(shortest) + " characters");
    return false;
  }
  if (!std::all_of(password.begin(), password.end(), is_printable)) {
    print_error("the password may hold only the characters from blank to tilde");
    return false;
  }
  return true;
}

bool scramble_for_profile(const std::string& password, std::string& stored) {
  BoundedText<stored_password_length> scrambled;
  if (scramble_password(password, scrambled) != ScrambleOutcome::Scrambled) {
    print_error("this password cannot be stored in a plain-text profile; please choose another one");
    return false;
  }
  stored.assign(scrambled.c_str(), scrambled.size());
  return true;
}
