// Loading a library at run time: the operating system's part of the bridge.
//
// The pair library_loader_posix.cc / library_loader_win32.cc implements
// these few functions; nothing else of the bridge sees the system's calls.
#pragma once

#include "common/bounded_text.h"

/// A library loaded at run time; null for none.
using LoadedLibrary = void*;

/// The NetWeaver RFC library's file name on this system.
extern const char* const nwrfc_library_file;
/// How messages name this system's own search for a library.
extern const char* const library_search_path_name;

/// The directory the bridge was loaded from, ending in its separator; false
/// when the system does not tell.
bool bridge_directory(TextBuffer& directory);

/// Whether `directory` holds a file named `file`.
bool library_file_exists(const char* directory, const char* file);

/// Loads `file` from `directory`, the libraries it needs looked for in that
/// directory first; null when that fails, with the reason in `reason`: the
/// file the system could not find, or a library of the other bitness.
LoadedLibrary load_library_from(const char* directory, const char* file, TextBuffer& reason);

/// Loads `file` through the system's search for libraries; null when that fails.
LoadedLibrary load_library_from_search_path(const char* file);

/// The address of the function `name` that `library` exports, or null; on
/// 32-bit Windows also by its stdcall-decorated name, which carries the
/// `argument_bytes` of its arguments.
void* library_function(LoadedLibrary library, const char* name, unsigned argument_bytes);

/// Makes the directory `path` unless it exists; false when it does not exist after.
bool make_directory(const char* path);

/// The path of the file `library` was loaded from, found through one of its
/// functions; false when the system does not tell.
bool library_path(LoadedLibrary library, void* function, TextBuffer& path);
