// Loading a shared library at run time, for the sensor and the NetWeaver
// bridge alike, and saying exactly why one cannot be.
//
// Before the system's loader sees a file, the loader here checks it: a
// regular file (a link is followed once, then its target checked), readable,
// whose headers the shared reader (executable_file.h) finds whole and of this
// program's kind.  A FIFO, a device or a truncated library is a fault, never
// a blocked run or a signal.  Nothing is ever looked for in the working
// directory.  Paths are 8-bit texts, UTF-8 on Windows.
#pragma once

#include <cstddef>
#include <string_view>

#include "common/bounded_text.h"
#include "platform/executable_file.h"
#include "platform/library_fault.h"

/// Any function a library exports, to be cast to its own type before a call.
using LibraryFunction = void (*)();

/// The bitness of this program (32 or 64).
unsigned program_bits();

/// Takes the working directory out of the system's search for libraries for
/// the whole process, so that no library it loads, nor any library those
/// load by bare name, comes from there (Windows; the dynamic linker elsewhere
/// never looks there).  Called before the first library is loaded.
void keep_working_directory_out_of_library_search();

/// Loads `file` from `directory` (which ends in its separator) by its path:
/// the file there is the verdict.  NotFound when no entry has that name.
void load_library_from(const char* directory, const char* file, LibraryLoad& load);

/// Loads `file` through the system's search for libraries: on Windows the
/// system directory, the Windows directory, then each directory of PATH that
/// is a full path; elsewhere the dynamic linker's search.  The first file of
/// that name found is the verdict.  Never the working directory.
void load_library_from_search(const char* file, LibraryLoad& load);

/// Writes the path of the first file named `file` on that search, the file
/// load_library_from_search takes; false when there is none.  Nothing is
/// loaded, nor is the system asked for what only it knows (the dynamic
/// linker's cache).
bool find_library_on_search(const char* file, PathText& found);

/// The places of that search for libraries of the given format, in the
/// order they are searched, as messages name them.
const char* library_search_places(ExecutableFormat format);

/// The function `name` the loaded library exports; null when it has none.
LibraryFunction library_function(const LibraryLoad& load, const char* name);

/// The function `name` as library_function finds it, or on 32-bit Windows
/// by its stdcall-decorated name, which carries the `argument_bytes` of its
/// arguments, with or without its leading underscore.
LibraryFunction stdcall_library_function(const LibraryLoad& load, const char* name, unsigned argument_bytes);

/// Reads the library at `path` as load_library_from checks it, and calls
/// `visit` with each library it needs; false, with the fault in `load`, when
/// it cannot be used.
bool visit_libraries_needed_by(const char* path, TableNameVisitor visit, void* context, LibraryLoad& load);

/// Writes what is wrong with the library at fault (or with the library it
/// needs that is named before it) as the rest of a sentence: "is a FIFO, not
/// a regular file", "is damaged (it is too short for an executable)".
/// OtherBitness gives "is a 32-bit library"; Refused names the loader's words.
void write_library_fault(const LibraryLoad& load, TextBuffer& text);

/// Writes the directory `load.path` names, ending in its separator.
void write_library_directory(const LibraryLoad& load, TextBuffer& directory);

/// Writes the directory of the module (program or library) that holds
/// `address`, ending in its separator; false when the system does not tell.
bool module_directory(const void* address, TextBuffer& directory);
