#include "rfc/rfc_error_report.h"

#include <cstring>

#include "common/bounded_text.h"
#include "common/saprouter_route.h"
#include "common/text_characters.h"
#include "platform/process.h"

namespace {

std::FILE* report_output = stdout;
const RfcErrorReportForm* report_form = nullptr;

// The library's name of the failed operation; a longer one is cut.
constexpr std::size_t operation_capacity = 127;

// Every text of the report comes from the library, and the library's from its
// partner: a line break in one must not begin a line of its own, or a server
// could print any document it likes on standard output.  A library may quote
// the SAProuter route it was given; its passwords are not shown.
template <std::size_t Capacity>
class LibraryText {
 public:
  explicit LibraryText(std::string_view library_text) {
    BoundedText<Capacity> line_text;
    append_single_line(line_text, library_text);
    append_without_route_passwords(shown_, line_text.view());
  }
  std::string_view view() const { return shown_.view(); }

 private:
  BoundedText<Capacity> shown_;
};

// The record's fields are texts within their bytes; a library that fills a
// field completely leaves no NUL, so each is read only up to its size.
template <std::size_t Size>
LibraryText<Size> record_field(const char (&field)[Size]) {
  return LibraryText<Size>(std::string_view(field, strnlen(field, Size)));
}

}  // namespace

void set_rfc_error_report_output(std::FILE* out, const RfcErrorReportForm& form) {
  report_output = out;
  report_form = &form;
}

// The one end of a run from inside: the library calls this handler in the
// middle of its own work and expects it not to return.
void RFC_CALL report_rfc_error(char* operation) {
  const LibraryText<operation_capacity> failed_operation(operation != nullptr ? operation : "");
  rfc_error_info error_record{};
  RfcLastError(&error_record);
  const auto key = record_field(error_record.key);
  const auto status = record_field(error_record.status);
  const auto message = record_field(error_record.message);
  const auto internal_status = record_field(error_record.internal_status);
  RfcErrorReport report;
  report_form->write_report(report, RfcErrorFields{failed_operation.view(), key.view(), status.view(), message.view(),
                                                   internal_status.view()});
  std::fputs(report.c_str(), report_output);
  RfcClose(RFC_NULL_HANDLE);
  std::fwrite(report_form->closing.data(), 1, report_form->closing.size(), report_output);
  exit_process(report_form->exit_code);
}
