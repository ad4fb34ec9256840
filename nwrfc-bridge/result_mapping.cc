#include "result_mapping.h"

#include <cstddef>
#include <iterator>

#include "common/enum_table.h"
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

namespace {

struct CodeName {
  RFC_RC code;
  const char* name;
};

// The codes from 0 to the last of the unbroken run, each at its own index.
constexpr CodeName code_names[] = {
    {RFC_OK, "RFC_OK"},
    {RFC_COMMUNICATION_FAILURE, "RFC_COMMUNICATION_FAILURE"},
    {RFC_LOGON_FAILURE, "RFC_LOGON_FAILURE"},
    {RFC_ABAP_RUNTIME_FAILURE, "RFC_ABAP_RUNTIME_FAILURE"},
    {RFC_ABAP_MESSAGE, "RFC_ABAP_MESSAGE"},
    {RFC_ABAP_EXCEPTION, "RFC_ABAP_EXCEPTION"},
    {RFC_CLOSED, "RFC_CLOSED"},
    {RFC_CANCELED, "RFC_CANCELED"},
    {RFC_TIMEOUT, "RFC_TIMEOUT"},
    {RFC_MEMORY_INSUFFICIENT, "RFC_MEMORY_INSUFFICIENT"},
    {RFC_VERSION_MISMATCH, "RFC_VERSION_MISMATCH"},
    {RFC_INVALID_PROTOCOL, "RFC_INVALID_PROTOCOL"},
    {RFC_SERIALIZATION_FAILURE, "RFC_SERIALIZATION_FAILURE"},
    {RFC_INVALID_HANDLE, "RFC_INVALID_HANDLE"},
    {RFC_RETRY, "RFC_RETRY"},
    {RFC_EXTERNAL_FAILURE, "RFC_EXTERNAL_FAILURE"},
    {RFC_EXECUTED, "RFC_EXECUTED"},
    {RFC_NOT_FOUND, "RFC_NOT_FOUND"},
    {RFC_NOT_SUPPORTED, "RFC_NOT_SUPPORTED"},
    {RFC_ILLEGAL_STATE, "RFC_ILLEGAL_STATE"},
    {RFC_INVALID_PARAMETER, "RFC_INVALID_PARAMETER"},
};

static_assert(std::size(code_names) == RFC_INVALID_PARAMETER + 1, "a name for every code up to the last of the run");
static_assert(rows_in_value_order(code_names, &CodeName::code), "each code at its own index");

}  // namespace

const char* result_code_name(RFC_RC code) {
  if (code < 0 || static_cast<std::size_t>(code) >= std::size(code_names)) return "RFC_UNKNOWN_RESULT";
  return code_names[code].name;
}
