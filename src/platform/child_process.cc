#include "platform/child_process.h"

ChildProcess::~ChildProcess() {
  kill();
  close_output();
}

bool ChildProcess::start(const ChildCommand& command, std::string_view input) {
  if (running_) return false;
  close_output();  // a child that ended may have left it open behind it
  if (!launch(command, input)) return false;
  running_ = true;
  exit_code_ = 0;
  return true;
}
