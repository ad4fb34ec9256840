#include "test_support.h"

#include "platform/process.h"

namespace {
[[noreturn]] void throw_run_ended(int exit_code) { throw RunEnded{exit_code}; }
}  // namespace

RunEndObserver::RunEndObserver() { set_process_exit_observer(throw_run_ended); }
RunEndObserver::~RunEndObserver() { set_process_exit_observer(nullptr); }

TestRun::TestRun() : state_(std::make_unique<RunState>()), out_(std::tmpfile()) { state_->out = out_; }

TestRun::~TestRun() {
  if (out_ != nullptr) std::fclose(out_);
}

std::string TestRun::printed() {
  std::fflush(out_);
  std::string text;
  std::rewind(out_);
  char buffer[4096];
  std::size_t count;
  while ((count = std::fread(buffer, 1, sizeof buffer, out_)) > 0) text.append(buffer, count);
  return text;
}
