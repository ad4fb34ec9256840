#include <signal.h>
#include <termios.h>
#include <unistd.h>

#include <iterator>

#include "platform/terminal.h"

namespace {

// The signals that end a process at a terminal by default.
constexpr int ending_signals[] = {SIGINT, SIGQUIT, SIGHUP, SIGTERM};

termios state_before;
struct sigaction actions_before[std::size(ending_signals)];

// Puts the terminal back and lets the signal end the process as it would have.
void restore_and_end(int signal_number) {
  tcsetattr(STDIN_FILENO, TCSANOW, &state_before);
  signal(signal_number, SIG_DFL);
  raise(signal_number);
}

// A signal the process was told to ignore (a run under nohup) stays ignored.
void catch_ending_signals() {
  for (std::size_t i = 0; i < std::size(ending_signals); ++i) {
    sigaction(ending_signals[i], nullptr, &actions_before[i]);
    if (actions_before[i].sa_handler == SIG_IGN) continue;
    struct sigaction restoring {};
    restoring.sa_handler = restore_and_end;
    sigemptyset(&restoring.sa_mask);
    sigaction(ending_signals[i], &restoring, nullptr);
  }
}

void release_ending_signals() {
  for (std::size_t i = 0; i < std::size(ending_signals); ++i) sigaction(ending_signals[i], &actions_before[i], nullptr);
}

}  // namespace

bool standard_input_is_terminal() { return isatty(STDIN_FILENO) == 1; }

TerminalEchoOff::TerminalEchoOff() {
  if (tcgetattr(STDIN_FILENO, &state_before) != 0) return;
  // The handlers are in place before the echo goes, so no moment is left in
  // which a signal would end the process with the echo off.
  catch_ending_signals();
  termios hidden = state_before;
  hidden.c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHONL);
  // What was typed before has been shown already; it is dropped, not taken.
  active_ = tcsetattr(STDIN_FILENO, TCSAFLUSH, &hidden) == 0;
  if (!active_) release_ending_signals();
}

TerminalEchoOff::~TerminalEchoOff() {
  if (!active_) return;
  tcsetattr(STDIN_FILENO, TCSANOW, &state_before);
  release_ending_signals();
}
