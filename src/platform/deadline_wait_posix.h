// Blocking waits with a wall-clock deadline (POSIX builds only).
#pragma once

/// Repeats the blocking call `wait_once(argument)` until it returns 0, fails
/// for another reason than an interruption, or `timeout_ms` milliseconds of
/// wall-clock time have passed; true when it returned 0.  A timer interrupts
/// the call at the deadline, so the wait stays a blocking one that the kernel
/// ends the moment what it waits for is free.
bool wait_with_deadline(int (*wait_once)(void* argument), void* argument, int timeout_ms);
