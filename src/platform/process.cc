#include "platform/process.h"

#include <cstdio>
#include <cstdlib>

namespace {
ProcessExitObserver exit_observer = nullptr;
}

void set_process_exit_observer(ProcessExitObserver observer) { exit_observer = observer; }

void exit_process(int exit_code) {
  std::fflush(stdout);
  if (exit_observer != nullptr) exit_observer(exit_code);
  std::exit(exit_code);
}
