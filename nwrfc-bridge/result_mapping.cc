#include "result_mapping.h"

#include "error_report.h"

CallOutcome call_outcome(RFC_RC code) {
  switch (code) {
    case RFC_OK:
      return CallOutcome::Values;
    case RFC_ABAP_EXCEPTION:
    case RFC_ABAP_CLASS_EXCEPTION:
      return CallOutcome::Exception;
    case RFC_ABAP_MESSAGE:
    case RFC_ABAP_RUNTIME_FAILURE:
      return CallOutcome::SystemException;
    case RFC_COMMUNICATION_FAILURE:
    case RFC_CLOSED:
      return CallOutcome::BrokenConnection;
    default:
      return CallOutcome::Failure;
  }
}

rfc_result_code classic_result_code(CallOutcome outcome) {
  switch (outcome) {
    case CallOutcome::Values:
      return RFC_RESULT_OK;
    case CallOutcome::Exception:
      return RFC_RESULT_EXCEPTION;
    case CallOutcome::SystemException:
      return RFC_RESULT_SYS_EXCEPTION;
    case CallOutcome::BrokenConnection:
    case CallOutcome::Failure:
      break;
  }
  return RFC_RESULT_FAILURE;
}

const char* classic_error_key(RFC_RC code) {
  switch (code) {
    case RFC_COMMUNICATION_FAILURE:
    case RFC_CLOSED:
    case RFC_TIMEOUT:
    case RFC_INVALID_PROTOCOL:
      return key_communication;
    case RFC_LOGON_FAILURE:
      return key_logon_failure;
    case RFC_ABAP_RUNTIME_FAILURE:
    case RFC_ABAP_MESSAGE:
      return key_system_exception;
    case RFC_MEMORY_INSUFFICIENT:
      return key_resource;
    case RFC_INVALID_HANDLE:
    case RFC_INVALID_PARAMETER:
    case RFC_ILLEGAL_STATE:
    case RFC_NOT_SUPPORTED:
      return key_program;
    default:
      return key_failure;
  }
}

const char* result_code_name(RFC_RC code) {
  // Indexed by the code.
  static constexpr const char* names[] = {
      "RFC_OK",
      "RFC_COMMUNICATION_FAILURE",
      "RFC_LOGON_FAILURE",
      "RFC_ABAP_RUNTIME_FAILURE",
      "RFC_ABAP_MESSAGE",
      "RFC_ABAP_EXCEPTION",
      "RFC_CLOSED",
      "RFC_CANCELED",
      "RFC_TIMEOUT",
      "RFC_MEMORY_INSUFFICIENT",
      "RFC_VERSION_MISMATCH",
      "RFC_INVALID_PROTOCOL",
      "RFC_SERIALIZATION_FAILURE",
      "RFC_INVALID_HANDLE",
      "RFC_RETRY",
      "RFC_EXTERNAL_FAILURE",
      "RFC_EXECUTED",
      "RFC_NOT_FOUND",
      "RFC_NOT_SUPPORTED",
      "RFC_ILLEGAL_STATE",
      "RFC_INVALID_PARAMETER",
  };
  if (code < 0 || static_cast<unsigned>(code) >= sizeof names / sizeof names[0]) return "RFC_UNKNOWN_RESULT";
  return names[code];
}
