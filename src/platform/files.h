// Files by their Windows path.
//
// The sensor's paths are Windows paths (backslashes, drive letters).  On
// Windows they go to the C runtime as they are.  On Linux, where the sensor is
// developed, each backslash becomes a slash and a leading drive letter with its
// colon is dropped, so "C:\PRTG_Path.Txt" is opened as "/PRTG_Path.Txt".
// Messages always show the Windows form; only this layer sees the other.
#pragma once

#include <cstdio>

/// Opens a file; `mode` as for fopen.  Null when it cannot be opened.
std::FILE* open_file(const char* windows_path, const char* mode);

/// Opens a file for reading in binary mode; null when it cannot be opened.
std::FILE* open_file_for_reading(const char* windows_path);

/// The way the configuration code opens files for reading; tests put a set of
/// virtual files in its place.
using FileOpener = std::FILE* (*)(const char* windows_path);

/// Deletes a file; false when it could not be deleted.
bool remove_file(const char* windows_path);

/// Puts `from` in the place of `to` in one step, replacing `to` if it exists.
bool replace_file(const char* from, const char* to);
