// RfcSetTraceDir and RfcSetTraceLevel, and the trace file they govern.
#include "standin_trace.h"

#include <cstdio>

#include "common/bounded_text.h"
#include "standin_errors.h"
#include "standin_text.h"

namespace {

/// The directory RfcSetTraceDir named last, ending in a separator; empty for
/// the working directory.
BoundedText<1023> trace_directory;
/// The level RfcSetTraceLevel set last; the stand-in writes only at level 0's
/// severity, whatever it is.
unsigned trace_level = 0;

}  // namespace

void trace_failed_open(const RFC_ERROR_INFO& error) {
  BoundedText<1100> path(trace_directory.view());
  if (!path.append("dev_rfc.trc")) return;
  std::FILE* file = std::fopen(path.c_str(), "ab");
  if (file == nullptr) return;
  BoundedText<1023> key, message;
  read_utf16(error.key, 128, key);
  read_utf16(error.message, 512, message);
  std::fprintf(file, "[stand-in NetWeaver RFC library, trace level %u] RfcOpenConnection failed, rc=%d: %s: %s\n",
               trace_level, error.code, key.c_str(), message.c_str());
  std::fclose(file);
}

extern "C" {

NWRFC_API RFC_RC NWRFC_CALL RfcSetTraceDir(SAP_UC* traceDir, RFC_ERROR_INFO* error) {
  BoundedText<1023> directory;
  if (traceDir == nullptr || !read_utf16(traceDir, 1000, directory)) {
    set_error(error, RFC_INVALID_PARAMETER, RFC_ERROR_GROUP_EXTERNAL_RUNTIME_FAILURE, "invalid parameter",
              "trace directory not given or too long");
    return RFC_INVALID_PARAMETER;
  }
  if (!directory.empty() && !directory.ends_with('/') && !directory.ends_with('\\')) directory.append('/');
  trace_directory.assign(directory.view());
  clear_error(error);
  return RFC_OK;
}

NWRFC_API RFC_RC NWRFC_CALL RfcSetTraceLevel(RFC_CONNECTION_HANDLE connection, SAP_UC* destination, unsigned traceLevel,
                                             RFC_ERROR_INFO* error) {
  if (connection != nullptr || destination != nullptr) {
    set_error(error, RFC_NOT_SUPPORTED, RFC_ERROR_GROUP_EXTERNAL_RUNTIME_FAILURE, "not supported",
              "the stand-in sets only the global trace level");
    return RFC_NOT_SUPPORTED;
  }
  trace_level = traceLevel;
  clear_error(error);
  return RFC_OK;
}

}  // extern "C"
