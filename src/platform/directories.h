// Directories by their Windows path: what one holds, the working directory,
// and where the system keeps its own libraries.
#pragma once

#include <string_view>

#include "common/bounded_text.h"

/// Told each name a directory holds ("." and ".." left out), with the context
/// given to list_directory.
using DirectoryNameVisitor = void (*)(std::string_view name, void* context);

/// Tells `visit` the name of every entry of the directory, in no particular
/// order; false when the directory cannot be read.
bool list_directory(const char* windows_path, DirectoryNameVisitor visit, void* context);

/// Makes the directory the working directory of this process; false when it cannot.
bool change_working_directory(const char* windows_path);

/// Writes the full path of the working directory; false when it cannot be
/// found or does not fit.
bool working_directory(TextBuffer& path);

/// Writes the directory the system loads its own libraries of the given
/// bitness from (Windows: System32, or SysWOW64 for 32-bit ones beside a
/// 64-bit system); false where there is no such directory.
bool system_library_directory(unsigned bits, TextBuffer& path);
