// Loading a shared library at run time and finding its functions by name.
#pragma once

#include <cstddef>

#include "common/bounded_text.h"
#include "platform/files.h"

/// Why a library could not be loaded.
enum class LibraryFault {
  None,
  /// Neither beside the executable nor anywhere the system's search looks.
  NotFound,
  /// Built for the other bitness than this program.
  OtherBitness,
  /// Found, but a library it needs is not.
  NeededLibraryMissing,
  /// Found, and refused for another reason the loader's text tells.
  Refused,
};

/// Most characters of the loader's own text of an error that are kept.
inline constexpr std::size_t loader_message_capacity = 255;

/// A library loaded for the rest of the process, or why it was not.
struct LoadedLibrary {
  /// The loader's handle; null when the library was not loaded.
  void* handle = nullptr;
  LibraryFault fault = LibraryFault::None;
  /// The bitness of the library when `fault` is OtherBitness (32 or 64).
  unsigned library_bits = 0;
  /// The directory looked in first, the executable's own, ending in its separator.
  PathText first_directory;
  /// The loader's text of the error, with its number where it has one.
  BoundedText<loader_message_capacity> loader_message;
};

/// Any function a library exports, to be cast to its own type before a call.
using LibraryFunction = void (*)();

/// The bitness of this program (32 or 64).
unsigned program_bits();

/// Starts a load of `file_name` afresh in `library`, its first directory the
/// executable's own; writes the path the library has there into `beside`
/// and tells whether a file lies there.
bool library_beside_executable(const char* file_name, LoadedLibrary& library, PathText& beside);

/// Loads the library `file_name` from the executable's own directory when it
/// lies there, otherwise through the system's search for libraries; a loaded
/// library stays until the process ends.
void load_library(const char* file_name, LoadedLibrary& library);

/// The function `name` the loaded library exports; null when it has none.
LibraryFunction library_function(const LoadedLibrary& library, const char* name);

/// How the files the sensor loads, and is installed as, are named here.
struct PlatformFileNames {
  /// The RFC library's file: "LIBRFC32.dll" on Windows, "librfc32.so" elsewhere.
  const char* rfc_library;
  /// The sensor's own file.
  const char* program;
  /// The system word of the release packages built for each bitness, as in
  /// "quenmarel-4.3-windows-x86.zip"; null where there are none.
  const char* package_system;
};

/// The names of this system's files.
const PlatformFileNames& platform_file_names();
