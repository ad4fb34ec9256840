// The RFC libraries' logon file: "SapRfc.ini" in the working directory, or
// the file the environment variable RFC_INI names.
#pragma once

#include <string_view>

#include "common/bounded_text.h"
#include "common/logon_file_entry.h"
#include "common/logon_file_names.h"

/// The logon file's path: the value of RFC_INI when it is set and not
/// empty, otherwise default_logon_file_name.  In a file
/// of its own, so that a library that takes RFC_INI otherwise links its own
/// definition in its place.
const char* logon_file_path();

/// Finds the entry whose "DEST=" value equals `destination` exactly in the
/// logon file, as read_logon_entry reads it.
LogonFileLookup find_logon_entry(std::string_view destination, LogonFileEntry& entry);

/// The file the administrator edits, as messages name it: "SapRfc." and the
/// destination when the logon file is a sensor run's own copy of that file
/// ("SapRfc-" and a process number, then ".ini", deleted when the run ends),
/// otherwise the logon file's path.
void write_edited_logon_file_name(std::string_view destination, TextBuffer& name);

/// The status and message of a look-up that found no entry, as the
/// libraries report it.
void describe_missing_entry(LogonFileLookup lookup, std::string_view destination, const char** status,
                            TextBuffer& message);

/// The message of an entry that cannot be used, naming the destination, the
/// logon file and the `problem`.
void describe_unusable_entry(std::string_view destination, std::string_view problem, TextBuffer& message);
