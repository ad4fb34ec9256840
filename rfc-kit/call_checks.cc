#include "call_checks.h"

#include "common/bounded_text.h"
#include "error_report.h"

rfc_result_code fail_unknown_handle(const char* function, rfc_handle handle) {
  BoundedText<1023> message;
  message.assignf("connection handle %u is not open", handle);
  return signal_failure(function, key_program, "invalid handle", message.view());
}

bool call_may_start(const char* function_name, const char* awaited) {
  constexpr const char* function = "RfcCall";
  if (function_name == nullptr || function_name[0] == '\0') {
    signal_failure(function, key_program, "invalid call", "no function name given");
    return false;
  }
  if (awaited == nullptr) return true;
  BoundedText<1023> message;
  message.assignf("the reply to %s has not been received", awaited);
  signal_failure(function, key_program, "invalid call", message.view());
  return false;
}

rfc_result_code fail_no_call_waiting() {
  return signal_failure("RfcReceive", key_program, "invalid call", "no call waiting for its reply");
}
