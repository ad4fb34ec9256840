#include "nwrfc_error.h"

#include "common/saprouter_route.h"
#include "error_report.h"
#include "result_mapping.h"
#include "utf16_text.h"

namespace {

// The library may quote the SAProuter route it was given, passwords and
// all; its texts reach the trace file and the sensor's output, so none is
// passed on with a route's password.
template <std::size_t Units>
void one_line_text(const SAP_UC (&field)[Units], TextBuffer& text) {
  // Three bytes hold any unit (a surrogate pair takes four for two units),
  // so the whole field always fits.
  ErrorText library_text;
  utf8_from_utf16(field, Units, library_text);
  library_text.replace_all('\n', ' ');
  library_text.replace_all('\r', ' ');
  text.clear();
  append_without_route_passwords(text, library_text.view());
}

}  // namespace

void error_key_text(const RFC_ERROR_INFO& error, TextBuffer& text) { one_line_text(error.key, text); }

void error_message_text(const RFC_ERROR_INFO& error, TextBuffer& text) { one_line_text(error.message, text); }

void report_nwrfc_error(const char* function, const RFC_ERROR_INFO& error) {
  ErrorText status;
  error_key_text(error, status);
  if (status.empty()) status.assign(result_code_name(error.code));
  ErrorText message;
  error_message_text(error, message);
  if (message.empty()) message.assign(status.view());
  report_error(function, classic_error_key(error.code), status.c_str(), message.view());
}
