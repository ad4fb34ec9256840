#include "test_support.h"

#include <stdlib.h>
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
