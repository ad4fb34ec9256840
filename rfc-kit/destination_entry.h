// RfcOpenEx's first steps, the same in every library of ours: the connect
// string read and its destination found in the logon file.
#pragma once

#include <string_view>

#include "connect_string.h"
#include "logon_file.h"
#include "rfc_library.h"

/// Reads `connect_string` into `fields` and finds the entry of its
/// destination in the logon file.  False when either fails; the failure is
/// then reported for `function` and written to `details` (when given).
bool find_destination_entry(const char* function, const char* connect_string, ConnectStringFields& fields,
                            LogonFileEntry& entry, rfc_open_error_details* details);

/// Reports for `function` that the entry of `destination` cannot be used
/// because of `problem`, as find_destination_entry reports its failures;
/// returns the null handle.
rfc_handle fail_unusable_destination(const char* function, std::string_view destination, std::string_view problem,
                                     rfc_open_error_details* details);
