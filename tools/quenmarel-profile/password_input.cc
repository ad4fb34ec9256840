#include "password_input.h"

#include <algorithm>
#include <cstdio>

#include "common/ascii.h"
#include "common/bounded_text.h"
#include "config/password.h"
#include "config/password_scrambling.h"
#include "config/profile_labels.h"
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

// The sensor pads a password with blanks, and a quote pair is what cmd's
// echo leaves around what was meant: both are typing mistakes, not passwords.
std::string misshapen_password(const std::string& password) {
  const std::size_t shortest = minimum_length(ProfileField::Password);
  if (password.size() > longest_storable_password) return "the password is longer than 20 characters";
  if (password.size() < shortest) return "the password is shorter than " + std::to_string(shortest) + " characters";
  if (!std::all_of(password.begin(), password.end(), is_printable))
    return "the password may hold only the characters from blank to tilde";
  if (password.front() == ' ' || password.back() == ' ')
    return "the password begins or ends with a blank (cmd: no blank before |)";
  const char first = password.front();
  if ((first == '\'' || first == '"') && password.back() == first)
    return "the password is enclosed in quotes (cmd: echo secret| ...)";
  return {};
}

}  // namespace

bool read_password(std::string& password) {
  // Two characters more than a password may have: a carriage return may follow
  // a password that just fits.
  if (!read_password_line(longest_storable_password + 2, password)) {
    print_error("no password on standard input");
    return false;
  }
  if (!password.empty() && password.back() == '\r') password.pop_back();
  const std::string problem = misshapen_password(password);
  if (!problem.empty()) print_error(problem);
  return problem.empty();
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
