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
