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

/// What stands under a directory's name once make_own_directory is done.
enum class OwnDirectory {
  /// A directory of its own, made now or found.
  Ready,
  /// A link (on Windows any reparse point), which is never followed.
  Link,
  /// A file, a pipe or another thing that is no directory.
  NotADirectory,
  /// Nothing, and the directory could not be made.
  NotMade,
};

/// Makes the directory `windows_path` for this account alone (mode 0700 on
/// Linux; on Windows the directory's rights are inherited) unless the name
/// is taken, and tells what then stands there, a link never followed.
OwnDirectory make_own_directory(const char* windows_path);

/// Writes the directory the system loads its own libraries of the given
/// bitness from (Windows: System32, or SysWOW64 for 32-bit ones beside a
/// 64-bit system); false where there is no such directory.
bool system_library_directory(unsigned bits, TextBuffer& path);
