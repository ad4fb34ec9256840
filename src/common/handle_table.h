// A fixed number of entries, each given out with a handle and found again by
// it: the open connections and calls of the RFC libraries we build.
//
// A handle is the entry's index plus one, so that 0, every library's null
// handle, is never one; each library turns it into its interface's handle
// type (a number, or an opaque pointer-sized value).
#pragma once

#include <cstddef>
#include <cstdint>

/// The handle of an entry of a HandleTable.
using TableHandle = std::uintptr_t;
/// The handle no entry has.
inline constexpr TableHandle no_table_handle = 0;

/// At most `Capacity` entries of `Entry` open at one time, without the heap.
template <typename Entry, std::size_t Capacity>
class HandleTable {
 public:
  /// Most entries open at one time.
  static constexpr std::size_t capacity = Capacity;

  /// Opens a free entry, as newly made, and sets `*handle` to its handle;
  /// null when all are open.  Nothing an earlier user left in it remains.
  Entry* take(TableHandle* handle) {
    for (std::size_t index = 0; index < Capacity; ++index) {
      if (open_[index]) continue;
      open_[index] = true;
      entries_[index] = Entry{};
      *handle = index + 1;
      return &entries_[index];
    }
    return nullptr;
  }

  /// The open entry of `handle`; null for no_table_handle, a handle never
  /// given out, and that of a released entry.
  Entry* find(TableHandle handle) {
    if (handle == no_table_handle || handle > Capacity) return nullptr;
    return open_[handle - 1] ? &entries_[handle - 1] : nullptr;
  }

  /// Releases `entry`, an open entry of this table; its handle finds nothing
  /// until the entry is taken again.
  void release(const Entry& entry) { open_[static_cast<std::size_t>(&entry - entries_)] = false; }

 private:
  Entry entries_[Capacity];
  bool open_[Capacity] = {};
};
