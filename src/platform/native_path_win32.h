// The Windows form of a path for the system's UTF-16 calls (Windows builds
// only).  The program keeps its texts in 8 bits: its arguments in UTF-8,
// names from files in whatever bytes those hold.  A path is taken as UTF-8
// where its bytes form UTF-8 and otherwise in the ANSI code page, so that a
// listing written in Latin-1 still names its files; names the system gives
// come back in UTF-8.  The ANSI calls are never used for names: they pass
// them through the code page's best-fit mapping, which finds "PRD.P00" under
// the name "ＰＲＤ.P00".
#pragma once

#include <windows.h>

#include <string_view>

#include "common/bounded_text.h"
#include "platform/files.h"

/// A path as the system's UTF-16 calls take it, NUL-terminated.
struct NativePath {
  wchar_t text[path_capacity + 1];
};

/// Converts a text as described above into `native`, which holds `room`
/// units with the NUL; false when it is empty or does not fit.
bool to_native_text(std::string_view text, wchar_t* native, int room);

/// Converts a path as described above; false when it does not fit.
bool to_native_path(const char* windows_path, NativePath& native);

/// Appends a NUL-terminated UTF-16 name the system gave, in UTF-8; false,
/// appending nothing, when it does not fit.
bool append_utf8(const wchar_t* name, TextBuffer& out);
