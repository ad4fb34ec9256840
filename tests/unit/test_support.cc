#include "test_support.h"

#include <poll.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

CapturedOutput::CapturedOutput() : file_(std::tmpfile()) {}

CapturedOutput::~CapturedOutput() {
  if (file_ != nullptr) std::fclose(file_);
}

std::string CapturedOutput::text() const {
  std::fflush(file_);
  std::string text;
  std::rewind(file_);
  char buffer[4096];
  std::size_t count;
  while ((count = std::fread(buffer, 1, sizeof buffer, file_)) > 0) text.append(buffer, count);
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

OtherProcess::OtherProcess(void (*hold)(), int hold_ms) {
  int to_child[2], from_child[2];
  if (pipe(to_child) != 0 || pipe(from_child) != 0) return;
  pid_ = fork();
  if (pid_ == 0) {
    close(to_child[1]);
    close(from_child[0]);
    hold();
    const char ready = 'r';
    if (write(from_child[1], &ready, 1) != 1) _exit(1);
    // Told to finish, or the test gone (end of file), or the time is up.
    pollfd told{to_child[0], POLLIN, 0};
    poll(&told, 1, hold_ms);
    _exit(0);
  }
  close(to_child[0]);
  close(from_child[1]);
  to_child_ = to_child[1];
  char ready;
  if (pid_ < 0 || read(from_child[0], &ready, 1) != 1) finish();  // it could not take what it holds
  close(from_child[0]);
}

OtherProcess::~OtherProcess() { finish(); }

void OtherProcess::finish() {
  if (to_child_ >= 0) close(to_child_);  // end of file tells it to finish
  to_child_ = -1;
  if (pid_ > 0) waitpid(pid_, nullptr, 0);
  pid_ = -1;
}
