// What every integration test shares: a fresh working directory (the library
// writes Dev_Rfc.Trc there), a loopback address of its own for rfcsim, and a
// library with no error handler installed.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "rfc_library.h"
#include "rfcsim_process.h"

/// Base of the tests that talk to rfcsim.
class RfcTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  /// The loopback address of this test alone, so tests can run in parallel on the fixed RFC ports.
  const std::string& host() const { return host_; }
  /// "host:port" with this test's host.
  std::string address(int port = 3300) const;
  /// `text` with each "{host}" replaced by host().
  std::string with_host(std::string text) const;
  /// Writes `scenario` (with_host applied) and starts rfcsim on it.
  void start_sim(const std::string& scenario);
  /// Stops rfcsim and returns the lines it printed after "ready".
  std::vector<std::string> stop_sim();
  /// A plain TCP connection to host():port, to act as a partner the library is not; -1 when refused.
  int connect_raw(int port) const;
  /// A listening socket on host():port that never accepts, its queue `backlog` long; -1 on failure.
  int listen_raw(int port, int backlog) const;

  RfcsimProcess sim;

 private:
  std::string host_;
  std::string previous_directory_;
  std::string directory_;
};

/// Seconds of real time since `start`.
double seconds_since(std::chrono::steady_clock::time_point start);
/// Creates or replaces a file of the working directory.
void write_file(const std::string& name, const std::string& content);
/// The content of "Dev_Rfc.Trc", or "<none>" when it does not exist.
std::string trace_file();

/// The operations the recording handler was called with, in order.
std::vector<std::string>& handler_calls();
/// Installs a handler that records its operation in handler_calls() and returns.
void install_recording_handler();
