// Files by their Windows path.
//
// The sensor's paths are Windows paths (backslashes, drive letters).  On
// Windows they go to the C runtime as they are.  On Linux, where the sensor is
// developed, each backslash becomes a slash and a leading drive letter with its
// colon is dropped, so "C:\PRTG_Path.Txt" is opened as "/PRTG_Path.Txt".
// Messages always show the Windows form; only this layer sees the other.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string_view>

#include "common/bounded_text.h"

/// Most characters of a path the sensor forms beyond its configuration's own.
inline constexpr std::size_t path_capacity = 4095;

using PathText = BoundedText<path_capacity>;

// Every file the sensor and its libraries read is a regular file, and every
// file they write they create themselves: a directory, a pipe or a device
// named like one of their files counts as a file that cannot be opened (a
// pipe would block the run for ever, /dev/zero feed it for ever), and a link
// is never written through, so that nobody can make a run write elsewhere.

/// Opens a regular file for reading in binary mode; null when it cannot be
/// opened or is not a regular file.
std::FILE* open_file_for_reading(const char* windows_path);

/// Who may read a file a run creates.
enum class FileReaders { Everyone, OwnerOnly };

/// Creates a file that does not exist yet and opens it for writing in binary
/// mode; null when the name is taken (by anything, a link included) or the file
/// cannot be created.
std::FILE* create_new_file(const char* windows_path, FileReaders readers);

/// Creates a file as create_new_file does, to hold a copy of the open file
/// `original`, granting nobody more than the original does: on Linux the
/// mode `readers` asks for is narrowed by the original's (a 0600 original
/// gives a 0600 copy).  On Windows both inherit the rights of the directory
/// they lie in, as the sensor's files do.
std::FILE* create_new_copy(const char* windows_path, FileReaders readers, std::FILE* original);

/// Appends `bytes` to a regular file, creating it when it is missing, in one
/// piece: what processes append at the same moment never mixes.  False when
/// the file cannot be opened, is not a regular file or is a link (on Linux a
/// link in place of a directory on its way counts too), or when the bytes
/// could not be appended whole.
bool append_in_one_piece(const char* windows_path, std::string_view bytes);

/// The way the configuration code opens files for reading; tests put a set of
/// virtual files in its place.
using FileOpener = std::FILE* (*)(const char* windows_path);

/// Closes the file it is given.
struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

/// An open file that closes itself, so that every way out of a reader closes it.
using OwnedFile = std::unique_ptr<std::FILE, FileCloser>;

/// The size in bytes of an open file; false when it cannot be found.
bool open_file_size(std::FILE* file, std::uint64_t& size);

/// Moves the position of an open file to `offset` bytes from its start.
bool seek_from_start(std::FILE* file, std::uint64_t offset);

/// Deletes a regular file; false for anything else, or when it could not be deleted.
bool remove_regular_file(const char* windows_path);

/// Puts `from` in the place of `to` in one step, replacing `to` if it exists.
bool replace_file(const char* from, const char* to);

/// What a name in a directory is, a link never followed.
enum class EntryKind { Missing, RegularFile, Other };

/// The kind of the entry `windows_path`: Missing only when no entry has that
/// name; a link (dangling or not), a pipe, a directory or a file nobody may
/// read all exist.
EntryKind directory_entry_kind(const char* windows_path);

/// Why the last file call of this thread failed, as far as an administrator
/// can act on it.
enum class FileFault { NotWritable, NoSpace, Other };

/// The fault of the file call that failed last.
FileFault last_file_fault();

/// Writes an open file's buffered bytes and has the system put them on disk.
bool flush_to_disk(std::FILE* file);

/// Asks the system to put the entries of the directory holding `windows_path`
/// on disk, so that a rename survives a power loss.  Not every file system
/// can, and the rename stands either way, so nothing is reported.  Windows
/// writes a rename through itself (replace_file asks for it): nothing to do.
void flush_directory_of(const char* windows_path);
