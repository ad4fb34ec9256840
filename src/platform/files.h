// Files by their Windows path.
//
// The sensor's paths are Windows paths (backslashes, drive letters).  On
// Windows they go to the C runtime as they are.  On Linux, where the sensor is
// developed, each backslash becomes a slash and a leading drive letter with its
// colon is dropped, so "C:\PRTG_Path.Txt" is opened as "/PRTG_Path.Txt".
// Messages always show the Windows form; only this layer sees the other.
#pragma once

#include <cstddef>
#include <cstdio>
#include <memory>

#include "common/bounded_text.h"

/// Most characters of a path the sensor forms beyond its configuration's own.
inline constexpr std::size_t path_capacity = 4095;

using PathText = BoundedText<path_capacity>;

/// Opens a file; `mode` as for fopen.  Null when it cannot be opened.
std::FILE* open_file(const char* windows_path, const char* mode);

/// Opens a file for reading in binary mode; null when it cannot be opened.
std::FILE* open_file_for_reading(const char* windows_path);

/// The way the configuration code opens files for reading; tests put a set of
/// virtual files in its place.
using FileOpener = std::FILE* (*)(const char* windows_path);

/// Closes the file it is given.
struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

/// An open file that closes itself, so that every way out of a reader closes it.
using OwnedFile = std::unique_ptr<std::FILE, FileCloser>;

/// Deletes a file; false when it could not be deleted.
bool remove_file(const char* windows_path);

/// Puts `from` in the place of `to` in one step, replacing `to` if it exists.
bool replace_file(const char* from, const char* to);
