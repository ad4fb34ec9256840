// rfcsim as a child process of a test: started on a scenario, stopped for sure.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

/// One run of bin/rfcsim.
class RfcsimProcess {
 public:
  RfcsimProcess() = default;
  RfcsimProcess(const RfcsimProcess&) = delete;
  RfcsimProcess& operator=(const RfcsimProcess&) = delete;
  /// Stops the process if it still runs.
  ~RfcsimProcess();

  /// Starts rfcsim on the scenario file and waits (bounded) for its "ready"
  /// line; false when it ended or stayed silent instead.
  bool start(const std::string& scenario_path);
  /// Waits (bounded) until the output so far holds `text`; false when it never comes.
  bool wait_for_output(const std::string& text);
  /// Sends `signal_number`, waits (bounded) for the end and returns the lines
  /// printed after "ready".
  std::vector<std::string> stop(int signal_number);
  /// Runs rfcsim to its end without expecting "ready" (for refused scenarios).
  void run_to_end(const std::string& scenario_path);

  /// Exit code of the ended process; -1 when it did not exit normally.
  int exit_code() const { return exit_code_; }
  /// Everything it wrote to standard error.
  const std::string& errors() const { return errors_; }

 private:
  bool spawn(const std::string& scenario_path);
  /// Reads both pipes until both end or the bound passes; then reaps the child.
  void drain_and_reap();

  pid_t pid_ = -1;
  int out_fd_ = -1;
  int err_fd_ = -1;
  std::string output_;
  std::string errors_;
  int exit_code_ = -1;
};
