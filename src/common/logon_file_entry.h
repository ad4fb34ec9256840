// A destination's entry in a logon file of the RFC library, read as our RFC
// libraries read it, and as the doctor reads the logon files of an installation.
#pragma once

#include <cstdio>
#include <string_view>

#include "common/bounded_text.h"

/// A value of the logon file; a longer one makes the entry unreadable.
using LogonFileValue = BoundedText<255>;

/// What one destination's entry says about where and how to connect.
struct LogonFileEntry {
  BoundedText<15> type;                    // TYPE=: A application server, B load balancing
  LogonFileValue application_server_host;  // ASHOST=
  BoundedText<15> system_number;           // SYSNR=
  LogonFileValue gateway_host;             // GWHOST=
  BoundedText<31> gateway_service;         // GWSERV=
  BoundedText<15> system_name;             // R3NAME=
  LogonFileValue message_server_host;      // MSHOST=
  BoundedText<31> message_server_service;  // MSSERV=
  BoundedText<31> group;                   // GROUP=
  BoundedText<15> snc_mode;                // SNC_MODE=
  LogonFileValue snc_partner_name;         // SNC_PARTNERNAME=
  BoundedText<15> snc_quality;             // SNC_QOP=
  LogonFileValue snc_own_name;             // SNC_MYNAME=
  LogonFileValue snc_library;              // SNC_LIB=
  /// The first key whose value did not fit its field; empty when all did.
  BoundedText<31> overlong_key;
};

/// How a look-up in the logon file ended.  UnreadableStart: no entry found,
/// and the file's first line that is neither blank nor a comment is no
/// "DEST=" line, so its first entry could not be read.
enum class LogonFileLookup { Found, NoFile, NoEntry, UnreadableStart };

/// Finds in the open logon file `file` the entry whose "DEST=" value equals
/// `destination` exactly.  An entry runs from its "DEST=" line to the next
/// one; its other lines are "KEY=value" (keys other than those of
/// LogonFileEntry are ignored).  Line ends LF or CRLF; blank lines and lines
/// starting with "*" or "#" are skipped; blanks before a key and after a
/// value do not count; a UTF-8 byte-order mark at the file's start is
/// skipped.  Lines are read in pieces of 1023 characters, each piece taken
/// as a line of its own.  Never NoFile.
LogonFileLookup read_logon_entry(std::FILE* file, std::string_view destination, LogonFileEntry& entry);
