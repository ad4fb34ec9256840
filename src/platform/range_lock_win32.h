// Byte-range locks with a wall-clock deadline (Windows builds only).
#pragma once

#include <windows.h>

#include <cstdint>

/// Locks `length` bytes at `offset` of `file`, shared or exclusive, if that
/// can be done at once; true when it was.
bool try_lock_range(HANDLE file, std::uint64_t offset, DWORD length, bool exclusive);

/// Locks like try_lock_range, but waits for the lock, blocked until it is free
/// and at most `timeout_ms` milliseconds of wall-clock time.
bool lock_range_with_deadline(HANDLE file, std::uint64_t offset, DWORD length, bool exclusive, int timeout_ms);

/// Lets go of a lock taken through one of the two.
void unlock_range(HANDLE file, std::uint64_t offset, DWORD length);
