// How the NetWeaver library's results become what the classic interface
// reports: result codes, the error handler and the keys of the error record.
#pragma once

#include "nwrfc_library.h"
#include "rfc_library.h"

/// What a NetWeaver result means to the caller of RfcReceive.
enum class CallOutcome {
  Values,            // 0, with the values
  Exception,         // 2, the exception's key as its text
  SystemException,   // 3, the message as its text
  BrokenConnection,  // the error handler, then 1
  Failure,           // 1
};

/// The outcome of a result code of RfcInvoke (or of any NetWeaver function).
CallOutcome call_outcome(RFC_RC code);

/// The result code RfcReceive returns for an outcome.
rfc_result_code classic_result_code(CallOutcome outcome);

/// The classic error record's key for a failed NetWeaver function's code.
const char* classic_error_key(RFC_RC code);

/// The name of a result code ("RFC_TIMEOUT"), for an error that comes
/// without a key of its own; "RFC_UNKNOWN_RESULT" for codes past the known ones.
const char* result_code_name(RFC_RC code);
