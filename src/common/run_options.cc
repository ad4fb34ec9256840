#include "common/run_options.h"

// An option text that does not fit is refused rather than cut: a cut text could
// turn "CH=12" into "CH=1" and report another channel's value as this one's.
bool assemble_run_options(RunOptions& options, int argc, const char* const* argv) {
  options = RunOptions{};
  bool fits = true;
  if (argc >= 3) fits = options.given_options.assign_whole(argv[2]) && options.first_option_word.assign_whole(argv[2]);
  if (argc >= 4) fits = fits && options.given_options.append(' ') && options.given_options.append_whole(argv[3]);
  if (!fits) {
    options = RunOptions{};
    return false;
  }
  refresh_run_options(options);
  options.console_mode = options.run_options.view().find_first_of("#@$%") != TextBuffer::npos;
  return true;
}

void refresh_run_options(RunOptions& options) {
  options.run_options = options.given_options;
  options.run_options.to_upper();
}

OptionValue option_value(const RunOptions& options, std::string_view keyword) {
  OptionValue value;
  const std::size_t found = options.run_options.find(keyword);
  if (found == TextBuffer::npos) return value;
  value.given = true;
  for (std::size_t i = found + keyword.size(); i < options.given_options.size(); ++i) {
    const char c = options.given_options[i];
    if (c == ',' || c == ' ') break;
    value.text.append(c);
  }
  return value;
}

OptionValue option_value_of_run(const RunOptions& in_force, const RunOptions& command_line, std::string_view keyword) {
  const OptionValue from_listing = option_value(in_force, keyword);
  return from_listing.given ? from_listing : option_value(command_line, keyword);
}

bool option_number(std::string_view text, std::size_t most_digits, unsigned& number) {
  if (text.empty() || text.size() > most_digits) return false;
  unsigned value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + static_cast<unsigned>(c - '0');
  }
  number = value;
  return true;
}
