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

/// A second process working in the same directory: it runs `hold` (which
/// takes what it holds for as long as the process lives) and keeps it until
/// told to finish, or for `hold_ms` milliseconds when that is not negative.
class OtherProcess {
 public:
  OtherProcess(void (*hold)(), int hold_ms = -1);
  ~OtherProcess();
  OtherProcess(const OtherProcess&) = delete;
  OtherProcess& operator=(const OtherProcess&) = delete;

  /// Ends the process and waits until it has ended.
  void finish();

 private:
  int pid_ = -1;
  int to_child_ = -1;
};
