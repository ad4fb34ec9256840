// The checks RfcCall and RfcReceive make before anything is sent, the same
// in every library of ours; each refusal is reported and signalled.
#pragma once

#include "rfc_library.h"

/// Refuses `function` for a `handle` that is not open; returns result code 1.
rfc_result_code fail_unknown_handle(const char* function, rfc_handle handle);

/// Whether RfcCall may call `function_name` while the reply to the call of
/// `awaited` (null when none waits) is still to be received; when not, the
/// refusal is signalled.
bool call_may_start(const char* function_name, const char* awaited);

/// Refuses RfcReceive when no call waits for its reply; returns result code 1.
rfc_result_code fail_no_call_waiting();
