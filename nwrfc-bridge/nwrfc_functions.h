// The NetWeaver RFC library's functions, looked up at the first use.
#pragma once

#include "nwrfc_library.h"

/// The functions the bridge calls.
struct NwrfcFunctions {
  RfcOpenConnection_function open_connection;
  RfcCloseConnection_function close_connection;
  RfcGetFunctionDesc_function get_function_desc;
  RfcCreateFunction_function create_function;
  RfcInvoke_function invoke;
  RfcGetInt_function get_int;
  RfcDestroyFunction_function destroy_function;
  RfcGetVersion_function get_version;
};

/// The NetWeaver RFC library's functions, from the library beside the bridge
/// (with the SDK's chain it needs from there) or, on Linux when there is none
/// beside it, the one the system's search finds.  Null when it cannot be
/// loaded; the reason is then reported as an error of `function` (trace file
/// and last error), and the next call tries again.
const NwrfcFunctions* nwrfc_functions(const char* function);
