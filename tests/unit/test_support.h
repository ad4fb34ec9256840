// What the unit tests share: a stream that keeps what is printed to it, and a
// working directory of their own.
#pragma once

#include <cstdio>
#include <string>

/// A stream whose printed bytes the test reads back.
class CapturedOutput {
 public:
  CapturedOutput();
  ~CapturedOutput();
  CapturedOutput(const CapturedOutput&) = delete;
  CapturedOutput& operator=(const CapturedOutput&) = delete;

  std::FILE* stream() const { return file_; }
  /// Everything printed so far.
  std::string text() const;

 private:
  std::FILE* file_;
};

/// For its lifetime, the working directory is a fresh, empty directory.
class ScratchDirectory {
 public:
  ScratchDirectory();
  ~ScratchDirectory();
  /// Writes a file into the directory.
  void write(const std::string& name, const std::string& bytes);
  /// The bytes of a file of the directory; empty when it does not exist.
  std::string read(const std::string& name) const;
  bool exists(const std::string& name) const;

 private:
  std::string previous_;
  std::string path_;
};
