// Opening the connection to one SAP system, and the library's error handler.
#pragma once

#include "rfc_library.h"

struct RunState;

/// Installs `report_rfc_error` as the library's error handler (RfcEnvironment).
void install_rfc_environment(RunState& state);

/// Opens a connection for `system_entry`: through the per-destination logon
/// file "SapRfc.<destination>" when it exists, otherwise from the logon
/// record.  Returns the null handle when no connection was opened.
rfc_handle open_rfc_connection(RunState& state);
