// The library's logon file "SapRfc.ini" in the working directory.
#pragma once

#include <string_view>

#include "common/bounded_text.h"

/// What one destination's entry says about where to connect.
struct LogonFileEntry {
  BoundedText<255> application_server_host;  // ASHOST=
  BoundedText<15> system_number;             // SYSNR=
  BoundedText<255> gateway_host;             // GWHOST=
  BoundedText<31> gateway_service;           // GWSERV=
};

/// How a look-up in the logon file ended.
enum class LogonFileLookup { found, no_file, no_entry };

/// Finds the entry whose "DEST=" value equals `destination` exactly.  An
/// entry runs from its "DEST=" line to the next one; its other lines are
/// "KEY=value" (TYPE and keys other than the four above are ignored).  Line
/// ends LF or CRLF; blank lines and lines starting with "*" or "#" are
/// skipped; blanks before a key and after a value do not count.  Lines are
/// read in pieces of 255 characters, so a longer value is cut there.
LogonFileLookup find_logon_entry(std::string_view destination, LogonFileEntry& entry);
