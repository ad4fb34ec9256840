// What the unit tests share: a run state that prints into memory, and a way
// to observe the end of a run without ending the test process.
#pragma once

#include <cstdio>
#include <memory>
#include <string>

#include "driver/run_state.h"

/// Thrown in place of ending the process while a RunEndObserver is active.
struct RunEnded {
  int exit_code;
};

/// For its lifetime, every end of a run throws RunEnded instead of exiting.
class RunEndObserver {
 public:
  RunEndObserver();
  ~RunEndObserver();
};

/// A fresh run state whose printed output is kept for the test to read.
class TestRun {
 public:
  TestRun();
  ~TestRun();
  RunState& state() { return *state_; }
  /// Everything printed so far.
  std::string printed();

 private:
  std::unique_ptr<RunState> state_;
  std::FILE* out_;
  RunEndObserver observer_;
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

/// The message of the last error document in `printed`, or "<no message>" when there is none.
std::string error_message(const std::string& printed);

/// Runs `step` and returns the exit code it ended the run with, or -1 when it returned.
template <typename Step>
int exit_code_of(Step&& step) {
  try {
    step();
  } catch (const RunEnded& ended) {
    return ended.exit_code;
  }
  return -1;
}
