// The errors the library reports: the trace file, the record RfcLastError
// fills, and the error handler the caller installed.
#pragma once

#include <string_view>

#include "rfc_library.h"

/// Key of a connection that could not be made, broke or timed out.
inline constexpr const char* key_communication = "RFC_ERROR_COMMUNICATION";
/// Key of a logon the system rejected.
inline constexpr const char* key_logon_failure = "RFC_ERROR_LOGON_FAILURE";
/// Key of a destination missing from, or unusable in, the logon file.
inline constexpr const char* key_destination = "RFC_ERROR_DESTINATION";
/// Key of a call the library cannot carry out as made (bad record, handle or order).
inline constexpr const char* key_program = "RFC_ERROR_PROGRAM";
/// Key of a connection refused for want of a free entry.
inline constexpr const char* key_resource = "RFC_ERROR_RESOURCE";
/// Key of result code 1 from the system.
inline constexpr const char* key_failure = "RFC_ERROR_FAILURE";
/// Key of result code 3 from the system.
inline constexpr const char* key_system_exception = "RFC_ERROR_SYSTEM_FAILURE";

/// Records an error as the last one and appends its block to the trace file.
/// `function` is the library function it happened in and becomes the
/// internal status; `status` is a short fixed text; `message` the detail.
void report_error(const char* function, const char* key, const char* status, std::string_view message);

/// Fills RfcOpenEx's error details (when given) for an open that failed with
/// `key`: group 2 for a rejected logon, 1 for every other failure.
void fill_open_error_details(rfc_open_error_details* details, const char* key, std::string_view message);

/// Reports an open that failed and fills the error details (when given);
/// returns the null handle, what the failed open returns.
rfc_handle fail_open(const char* function, const char* key, const char* status, std::string_view message,
                     rfc_open_error_details* details);

/// Reports an error the caller learns of through the error handler, then
/// calls the handler; returns result code 1, what the function returns when
/// the handler returns (or none is installed).
rfc_result_code signal_failure(const char* function, const char* key, const char* status, std::string_view message);

/// Copies the last error into `record` and returns 0, RfcLastError's result;
/// an empty record before any error.  Each text is cut to its field.  A null
/// `record` gets nothing and 1.
int copy_last_error(rfc_error_info* record);

/// Takes RfcEnvironment's record: its handler is called for errors signalled
/// during a call (null removes it).  A null record changes nothing.
void take_environment(const rfc_environment_record* environment);

/// Calls the installed handler, if any, with a writable copy of `function`.
void signal_error(const char* function);
