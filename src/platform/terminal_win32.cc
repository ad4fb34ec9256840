#include <windows.h>

#include "platform/terminal.h"

namespace {

HANDLE console_input = INVALID_HANDLE_VALUE;
DWORD mode_before = 0;

// Puts the console back; returning FALSE lets the default handling end the process.
BOOL WINAPI restore_on_console_event(DWORD /*event*/) {
  SetConsoleMode(console_input, mode_before);
  return FALSE;
}

}  // namespace

bool standard_input_is_terminal() {
  DWORD mode;
  return GetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), &mode) != 0;
}

TerminalEchoOff::TerminalEchoOff() {
  console_input = GetStdHandle(STD_INPUT_HANDLE);
  if (GetConsoleMode(console_input, &mode_before) == 0) return;
  // The handler is in place before the echo goes, so no moment is left in
  // which Ctrl+C would end the process with the echo off.
  SetConsoleCtrlHandler(restore_on_console_event, TRUE);
  active_ = SetConsoleMode(console_input, mode_before & ~static_cast<DWORD>(ENABLE_ECHO_INPUT)) != 0;
  if (!active_) SetConsoleCtrlHandler(restore_on_console_event, FALSE);
}

TerminalEchoOff::~TerminalEchoOff() {
  if (!active_) return;
  SetConsoleMode(console_input, mode_before);
  SetConsoleCtrlHandler(restore_on_console_event, FALSE);
}
