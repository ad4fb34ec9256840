// Opening the connection to one SAP system, and the library's error handler.
#pragma once

#include <cstdio>

#include "common/rfc_error_report_form.h"
#include "common/run_options.h"
#include "config/system_entry.h"
#include "rfc/rfc_records.h"
#include "rfc_library.h"

/// Makes the RFC library ready for the run's first use of it: names the run's
/// own logon file to it, then loads it (see load_rfc_library).  False, with
/// what is wrong and what to do in `failure`, when it cannot be used.
bool prepare_rfc_library(TextBuffer& failure);

/// Installs `report_rfc_error` as the library's error handler (RfcEnvironment),
/// printing its report on `out` in `form`, which must outlive the run; the
/// library was prepared before.
void install_rfc_environment(RfcRecords& records, std::FILE* out, const RfcErrorReportForm& form);

/// Opens a connection for `entry`, with the host and system number the options
/// may override: through the per-destination logon file "SapRfc.<destination>"
/// when it exists (copied to "SapRfc.ini" and to the run's own copy, which the
/// library reads through RFC_INI), otherwise from the logon record; the
/// logon file's line goes to `out`.  Returns the null handle when no
/// connection was opened.
rfc_handle open_rfc_connection(RfcRecords& records, const SystemEntry& entry, const RunOptions& options,
                               std::FILE* out);
