// The terminal at which a person types a password.
#pragma once

/// Whether standard input is a terminal (a console on Windows).
bool standard_input_is_terminal();

/// While it lives, what is typed at standard input's terminal is not shown.
/// The terminal's previous state comes back when it ends, and also when the
/// process is ended meanwhile by a signal (Linux: interrupt, quit, hang-up,
/// termination) or by Ctrl+C, Ctrl+Break or the console closing (Windows).
class TerminalEchoOff {
 public:
  TerminalEchoOff();
  ~TerminalEchoOff();
  TerminalEchoOff(const TerminalEchoOff&) = delete;
  TerminalEchoOff& operator=(const TerminalEchoOff&) = delete;

 private:
  /// Whether the echo was turned off, and so must be turned on again.
  bool active_ = false;
};
