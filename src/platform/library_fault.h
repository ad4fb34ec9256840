// A library loaded at run time, or exactly why it could not be: the record
// the loader (library_loading.h) fills and its callers word their texts from.
#pragma once

#include <cstddef>

#include "common/bounded_text.h"
#include "platform/executable_file.h"
#include "platform/files.h"

/// Why a library could not be loaded.
enum class LibraryFault {
  /// Loaded.
  None,
  /// No file of its name where it was looked for.
  NotFound,
  /// A directory, FIFO, device, or a link that leads to no file or in a loop.
  NotRegularFile,
  /// This account may not read it.
  Unreadable,
  /// Too short, a part outside the file, not an executable of this system.
  Damaged,
  /// Built for the other bitness, as its header says.
  OtherBitness,
  /// Its initialisation refused (a DllMain that returned FALSE).
  InitialisationFailed,
  /// The system's loader refused it for another reason, which it gives.
  Refused,
};

/// Most characters of what is told of a fault.
inline constexpr std::size_t library_fault_detail_capacity = 255;

/// A library loaded for the rest of the process, or why it was not.
struct LibraryLoad {
  /// The system's handle; null when the library was not loaded.
  void* handle = nullptr;
  /// Why it was not loaded; None when it was.
  LibraryFault fault = LibraryFault::None;
  /// The library's path: the file loaded, the file at fault, or where it was
  /// looked for first.
  PathText path;
  /// The library it needs that the fault is about; empty when the fault is
  /// the library's own.  NotFound then means that library is missing.
  TableName needed;
  /// NotRegularFile: what the file is instead ("a FIFO, not a regular
  /// file"); Damaged: the defect; InitialisationFailed and Refused: the
  /// loader's own words.
  BoundedText<library_fault_detail_capacity> detail;
  /// OtherBitness: the bitness its header gives.
  unsigned library_bits = 0;
};
