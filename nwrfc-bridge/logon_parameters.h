// The logon parameters of the NetWeaver library, from RfcOpen's record or
// from RfcOpenEx's connect string and the destination's logon-file entry.
#pragma once

#include <cstddef>
#include <string_view>

#include "common/bounded_text.h"
#include "connect_string.h"
#include "logon_file.h"
#include "rfc_library.h"

/// One parameter: its lower-case name and its value as the classic side gave it.
struct LogonParameter {
  const char* name = nullptr;
  LogonFileValue value;
};

/// Most parameters one open passes.
inline constexpr std::size_t logon_parameter_limit = 20;

/// The parameters of one open, in the order they are passed.
struct LogonParameters {
  LogonParameter entries[logon_parameter_limit];
  std::size_t count = 0;

  /// Adds a parameter; false when the value or the list is full.
  bool add(const char* name, std::string_view value);
  /// The value of the parameter `name`, or null when it is not given.
  const TextBuffer* find(std::string_view name) const;
};

/// The parameters of RfcOpen's record in application-server mode: saprouter
/// when the host name or the gateway host holds a SAProuter route (in any
/// letter case, up to and with its last "/H/"), ashost (the host after the
/// route), sysnr (two digits), gwhost and gwserv when given, then the logon
/// values without the blanks the record pads them with.  False, with the
/// reason in `problem`, for a record the library cannot use (R/2 mode, a route
/// not ending in a host and two routes that differ included).
bool parameters_from_logon_options(const rfc_logon_options_record& options, LogonParameters& parameters,
                                   TextBuffer& problem);

/// The parameters of RfcOpenEx: the entry's destination (TYPE=A: saprouter,
/// ashost, sysnr, gwhost, gwserv, routes split as RfcOpen's; TYPE=B: mshost,
/// msserv, sysid from R3NAME, group), its secure-network entries, then the
/// connect string's logon values.  False, with the reason in `problem`, for an
/// entry that cannot be used.
bool parameters_from_logon_entry(const ConnectStringFields& fields, const LogonFileEntry& entry,
                                 LogonParameters& parameters, TextBuffer& problem);
