#include "driver/run_options.h"

#include "driver/run_state.h"

namespace {

bool holds_console_character(const TextBuffer& options) {
  return options.find('#') != TextBuffer::npos || options.find('@') != TextBuffer::npos ||
         options.find('$') != TextBuffer::npos || options.find('%') != TextBuffer::npos;
}

}  // namespace

// An option text that does not fit is refused rather than cut: a cut text could
// turn "CH=12" into "CH=1" and report another channel's value as this one's.
bool assemble_run_options(RunState& state, int argc, const char* const* argv) {
  state.given_options.clear();
  state.first_option_word.clear();
  bool fits = true;
  if (argc >= 3) fits = state.given_options.assign(argv[2]) && state.first_option_word.assign(argv[2]);
  if (argc >= 4) fits = fits && state.given_options.append(' ') && state.given_options.append(argv[3]);
  if (!fits) {
    state.given_options.clear();
    state.run_options.clear();
    state.console_mode = false;
    return false;
  }
  refresh_run_options(state);
  state.console_mode = holds_console_character(state.run_options);
  return true;
}

void refresh_run_options(RunState& state) {
  state.run_options = state.given_options;
  state.run_options.to_upper();
}
