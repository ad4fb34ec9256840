#include "rfc/rfc_error_report.h"

#include <cstring>

#include "common/bounded_text.h"
#include "common/saprouter_route.h"
#include "common/text_characters.h"
#include "platform/process.h"

namespace {

std::FILE* report_output = stdout;

// "key            : RFC_ERROR_LOGON_FAILURE": the labels in a column of their own.
constexpr int field_width = 15;

// The library's name of the failed operation; a longer one is cut.
constexpr std::size_t operation_capacity = 127;

// Every text of the report comes from the library, and the library's from its
// partner: a line break in one must not begin a line of its own, or a server
// could print any document it likes on standard output.  A library may quote
// the SAProuter route it was given; its passwords are not shown.
template <std::size_t Capacity>
void print_library_text(const char* label, std::string_view library_text) {
  BoundedText<Capacity> line_text;
  append_single_line(line_text, library_text);
  BoundedText<Capacity> shown;
  append_without_route_passwords(shown, line_text.view());
  std::fprintf(report_output, "%-*s : %s\n", field_width, label, shown.c_str());
}

// The record's fields are texts within their bytes; a library that fills a
// field completely leaves no NUL, so each is read only up to its size.
template <std::size_t Size>
void print_record_field(const char* label, const char (&field)[Size]) {
  print_library_text<Size>(label, std::string_view(field, strnlen(field, Size)));
}

}  // namespace

void set_rfc_error_report_output(std::FILE* out) { report_output = out; }

// The one end of a run from inside: the library calls this handler in the
// middle of its own work and expects it not to return.
void RFC_CALL report_rfc_error(char* operation) {
  std::fputs("RFC error\n", report_output);
  print_library_text<operation_capacity>("operation/code", operation != nullptr ? operation : "");
  rfc_error_info error_record{};
  RfcLastError(&error_record);
  print_record_field("key", error_record.key);
  print_record_field("status", error_record.status);
  print_record_field("message", error_record.message);
  print_record_field("internal status", error_record.internal_status);
  std::fputs("\n", report_output);
  RfcClose(RFC_NULL_HANDLE);
  std::fputs("* Programm aborted...\n", report_output);
  // An aborted run would mark its end in an end-of-output file; none is
  // configured, so creating it always fails and the report says so.
  std::fputs("* Error at EoXput-File...\n", report_output);
  exit_process(1);
}
