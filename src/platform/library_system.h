// The operating system's side of the library loader (library_loading.h):
// what a name in a directory is, reading a file that may be a library, the
// places of the system's search, and the system's loader itself.  The pair
// library_loading_posix.cc / library_loading_win32.cc implements it; only the
// loader calls it.
#pragma once

#include <string_view>

#include "platform/executable_file.h"
#include "platform/library_fault.h"

/// Told the bytes of a library file while it is open; returns what the
/// reading gave.
using LibraryFileReading = bool (*)(ExecutableBytes& bytes, void* context);

/// The directory separator of paths on this system.
extern const char library_path_separator;

/// Opens `load.path` when it is a regular file this account may read (a link
/// followed once: its target's path then replaces `load.path`) and tells
/// `read` its bytes; the result is what `read` returned.  False with the
/// fault in `load` when the file is not there (NotFound), is not a regular
/// file or cannot be read.
bool read_library_file(LibraryLoad& load, LibraryFileReading read, void* context);

/// Whether any entry, of whatever kind, has the name `path`.
bool library_entry_exists(const char* path);

/// Hands the checked file at `load.path` to the system's loader; the handle,
/// or null with the fault (InitialisationFailed or Refused, with the loader's
/// words) in `load`.
void* open_with_system_loader(LibraryLoad& load);

/// Whether the process holds a library of the name `name` already, or the
/// system supplies it without a file (Windows' API sets).
bool library_already_loaded(std::string_view name);

/// Writes the path of the first file named `name` in the places of the
/// system's search for libraries (never the working directory); false when
/// there is none.
bool find_on_system_search(std::string_view name, PathText& found);

/// Whether the system's loader finds a library `name` needs by bare name
/// where this process would load it from (its search, and what only the
/// system knows: the dynamic linker's cache, side-by-side assemblies).  The
/// library is never run to tell.
bool system_finds_needed_library(std::string_view name);

/// Has the system's loader look for `file` in places only it knows (the
/// dynamic linker's cache); false, with nothing loaded, where there are
/// none or it finds nothing.
bool load_from_places_only_the_system_knows(const char* file, LibraryLoad& load);
