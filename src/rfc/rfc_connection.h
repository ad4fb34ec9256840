// Opening the connection to one SAP system, and the library's error handler.
#pragma once

#include <cstdio>

#include "common/run_options.h"
#include "config/system_entry.h"
#include "rfc/rfc_records.h"
#include "rfc_library.h"

/// Installs `report_rfc_error` as the library's error handler (RfcEnvironment),
/// printing its report on `out`.
void install_rfc_environment(RfcRecords& records, std::FILE* out);

/// Opens a connection for `entry`, with the host and system number the options
/// may override: through the per-destination logon file "SapRfc.<destination>"
/// when it exists (copied to "SapRfc.ini" and to the run's own copy, which the
/// library reads through RFC_INI), otherwise from the logon record; the
/// logon file's line goes to `out`.  Returns the null handle when no
/// connection was opened.
rfc_handle open_rfc_connection(RfcRecords& records, const SystemEntry& entry, const RunOptions& options,
                               std::FILE* out);
