// Child processes: each started with its standard input fed from a text and
// its standard output on a pipe the parent reads, ended by the parent when it
// must, and never left behind by a parent that is stopped.
#pragma once

#include <cstddef>
#include <string_view>

#include "common/bounded_text.h"

/// A program and its arguments, argument 0 included, ended by a null pointer.
struct ChildCommand {
  const char* program;
  const char* const* arguments;
};

/// What reading a child's output found.
enum class ChildOutputState { Open, Closed, Overflow };

/// One child process.  A child still running when this object goes is killed
/// and reaped.
class ChildProcess {
 public:
  ChildProcess() = default;
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  /// Starts `command` with `input` on its standard input (closed behind it)
  /// and its standard output on a pipe; standard error is the parent's.
  /// False when it could not be started.
  bool start(const ChildCommand& command, std::string_view input);

  /// Appends what the child wrote since the last call to `output`, never
  /// waiting.  Overflow when it wrote more than `output` has room for; what
  /// did not fit is dropped.
  ChildOutputState read_output(TextBuffer& output);

  /// Whether the child has ended; a child that ended is reaped here, never
  /// waiting, and its exit code kept.
  bool ended();

  /// The exit code of a child that ended; 128 plus the signal's number for
  /// one ended by a signal (POSIX), the exception's code for one that crashed
  /// or was killed (Windows).
  int exit_code() const { return exit_code_; }

  /// Whether a child was started and not yet found ended.
  bool running() const { return running_; }

  /// Kills a running child and reaps it, waiting a bounded time.
  void kill();

  /// The system's number of the child last started.
  unsigned long process_id() const { return process_id_; }

  /// For the waiting seam: the pipe (POSIX) or process (Windows) to wait on.
  long long wait_handle() const;

 private:
  /// Starts the child as start() says, setting process_ and output_; each
  /// platform's own part.  False when it could not be started.
  bool launch(const ChildCommand& command, std::string_view input);
  void close_output();

  bool running_ = false;
  int exit_code_ = 0;
  // The process id or HANDLE, and the read end of the output pipe (a file
  // descriptor or a HANDLE).
  long long process_ = -1;
  long long output_ = -1;
  unsigned long process_id_ = 0;
};

/// Waits until one of `children` (those running) wrote or ended, or until
/// `timeout_ms` passed.  It may return earlier; callers look at every child.
void wait_for_children(ChildProcess* const* children, std::size_t count, int timeout_ms);

/// Writes what a child is given to stay bound to this process: its process id
/// (POSIX), or a handle of it that every child inherits (Windows).  False
/// when there is none.
bool write_parent_identity(TextBuffer& identity);

/// A child's first step: false when the parent named by `parent_identity` is
/// gone already; otherwise has this process ended whenever that parent goes.
bool stay_bound_to_parent(const char* parent_identity);

/// Writes the full path of the running executable; false when it cannot be
/// found or does not fit.
bool executable_path(TextBuffer& path);

/// Reads standard input to its end, in binary; false when it held more than
/// `input` has room for, or could not be read.
bool read_standard_input(TextBuffer& input);
