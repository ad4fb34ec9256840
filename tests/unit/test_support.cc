#include "test_support.h"

#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

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

ScratchDirectory::ScratchDirectory() {
  previous_ = std::filesystem::current_path().string();
  char pattern[] = "/tmp/quenmarel-unit-XXXXXX";
  path_ = mkdtemp(pattern);
  std::filesystem::current_path(path_);
}

ScratchDirectory::~ScratchDirectory() {
  std::filesystem::current_path(previous_);
  std::filesystem::remove_all(path_);
}

void ScratchDirectory::write(const std::string& name, const std::string& bytes) {
  std::ofstream file(path_ + "/" + name, std::ios::binary);
  file << bytes;
}

std::string ScratchDirectory::read(const std::string& name) const {
  std::ifstream file(path_ + "/" + name, std::ios::binary);
  std::ostringstream content;
  content << file.rdbuf();
  return content.str();
}

bool ScratchDirectory::exists(const std::string& name) const { return std::filesystem::exists(path_ + "/" + name); }

std::string error_message(const std::string& printed) {
  const std::size_t start = printed.rfind("<Text>");
  const std::size_t end = printed.rfind("</Text>");
  if (start == std::string::npos || end == std::string::npos || end < start) return "<no message>";
  return printed.substr(start + 6, end - start - 6);
}
