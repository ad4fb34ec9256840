// Every wait the sensor bounds, in one place, and what they add up to.
//
// PRTG ends a sensor that has not ended after its timeout, and then shows
// nothing of what the sensor meant to say.  So the longest a single-system
// run can wait, with the RFC library's own bounds, must leave room below the
// monitor's default for starting, loading the library and writing the
// document.  The README states these figures; a test compares them with this
// file.
#pragma once

/// PRTG's timeout for an EXE sensor unless its settings give another.
inline constexpr int monitor_default_timeout_ms = 60000;

/// What the worst single-system run leaves of the monitor's default, at least.
inline constexpr int monitor_timeout_spare_ms = 10000;

// ---- The sensor's own waits ----

/// Joining the runs in the working directory, while another run holds the
/// gate: it does so only while it deletes one file.
inline constexpr int presence_gate_wait_ms = 2000;

/// The turn at the shared logon-file copy "SapRfc.ini", which another run
/// holds only while it copies one local file.
inline constexpr int logon_file_lock_wait_ms = 8000;

/// Clearing the half-written copy an ended child left: the lock's holder is
/// busy with a copy of its own, which it clears itself should it fail.
inline constexpr int logon_file_clearing_wait_ms = 1000;

/// A turn at appending to the trace file, where Windows needs turns; each
/// turn is one write of a few lines.
inline constexpr int append_turn_wait_ms = 5000;

/// A listed system measured in a child process: a child that has not ended
/// by then hangs, and its system counts as failed.
inline constexpr int listed_system_deadline_ms = 50000;

/// A killed child, until it has ended: killing is immediate unless the child
/// hangs in the kernel, and one that still has not ended is left to the system.
inline constexpr int child_reap_wait_ms = 5000;

/// The profile tool's trial run of the sensor, stopped after this.
inline constexpr int trial_run_wait_ms = 120000;

// ---- The RFC library's bounds ----
//
// The vendor's library has bounds of its own, which may be longer (the
// operating system's connect timeout); the budget is reckoned with those of
// the stand-in library, which takes them from here.

/// Until the system accepts the connection.
inline constexpr int library_connect_wait_ms = 5000;

/// From sending the logon to the last byte of its answer.
inline constexpr int library_logon_wait_ms = 5000;

/// From sending a call to the last byte of its reply.
inline constexpr int library_call_wait_ms = 30000;

/// The library's longest opening and call of one system.
inline constexpr int library_wait_ms = library_connect_wait_ms + library_logon_wait_ms + library_call_wait_ms;

// ---- What they add up to ----

/// The longest a single-system run waits: for the gate, for its turn at the
/// logon-file copy, and then either in the library or, when the copy failed
/// and the library is never asked, for its turn at the trace file.
inline constexpr int worst_single_system_run_ms =
    presence_gate_wait_ms + logon_file_lock_wait_ms +
    (library_wait_ms > append_turn_wait_ms ? library_wait_ms : append_turn_wait_ms);

static_assert(worst_single_system_run_ms + monitor_timeout_spare_ms <= monitor_default_timeout_ms,
              "a single-system run ends well before the monitor gives up on it");
static_assert(listed_system_deadline_ms > logon_file_lock_wait_ms + library_wait_ms,
              "a child is given up only after every bound of its own has passed");
static_assert(trial_run_wait_ms > worst_single_system_run_ms,
              "a trial run is stopped only when the sensor waits beyond its bounds");
