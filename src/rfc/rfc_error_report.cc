#include "rfc/rfc_error_report.h"

#include <cstdio>
#include <cstring>

#include "driver/run_state.h"
#include "output/console_routines.h"
#include "platform/process.h"

namespace {

RunState* reporting_state = nullptr;

constexpr int field_indent = 0;
constexpr int field_width = 15;

// The record's fields are texts within their bytes; a library that fills a
// field completely leaves no NUL, so each is read only up to its size.
template <std::size_t Size>
void print_record_field(RunState& state, const char* label, const char (&field)[Size]) {
  const BoundedText<Size> text(std::string_view(field, strnlen(field, Size)));
  print_field_line(state, label, field_indent, field_width, text.c_str());
}

}  // namespace

void set_rfc_error_report_state(RunState& state) { reporting_state = &state; }

void RFC_CALL report_rfc_error(char* operation) {
  RunState& state = *reporting_state;
  std::fputs("RFC error\n", state.out);
  print_field_line(state, "operation/code", field_indent, field_width, operation != nullptr ? operation : "");
  std::memset(&state.rfc.error_record, 0, sizeof state.rfc.error_record);
  RfcLastError(&state.rfc.error_record);
  print_record_field(state, "key", state.rfc.error_record.key);
  print_record_field(state, "status", state.rfc.error_record.status);
  print_record_field(state, "message", state.rfc.error_record.message);
  print_record_field(state, "internal status", state.rfc.error_record.internal_status);
  std::fputs("\n", state.out);
  RfcClose(RFC_NULL_HANDLE);
  std::fputs("* Programm aborted...\n", state.out);
  // An aborted run would mark its end in an end-of-output file; none is
  // configured, so creating it always fails and the report says so.
  std::fputs("* Error at EoXput-File...\n", state.out);
  exit_process(1);
}
