#include "output/run_endings.h"

#include "output/status_line.h"
#include "output/xml_text.h"

namespace {

// ---- PRTG and its kin ----

void write_xml_error_document(TextBuffer& out, std::string_view message) {
  static constexpr std::string_view opening = "<Prtg>\n<Error>1</Error>\n<Text>";
  static constexpr std::string_view closing = "</Text>\n</Prtg>\n";
  out.assign(opening);
  append_xml_escaped(out, message, closing.size());
  out.append(closing);
}

// "key            : RFC_ERROR_LOGON_FAILURE": the labels in a column of their own.
constexpr int field_width = 15;

void write_field_line(TextBuffer& out, const char* label, std::string_view value) {
  out.appendf("%-*s : ", field_width, label);
  out.append(value);
  out.append('\n');
}

void write_rfc_error_block(TextBuffer& out, const RfcErrorFields& fields) {
  out.append("RFC error\n");
  write_field_line(out, "operation/code", fields.operation);
  write_field_line(out, "key", fields.key);
  write_field_line(out, "status", fields.status);
  write_field_line(out, "message", fields.message);
  write_field_line(out, "internal status", fields.internal_status);
  out.append('\n');
}

// An aborted run would mark its end in an end-of-output file; none is
// configured, so creating it always fails and the block says so.
constexpr std::string_view rfc_error_block_closing = "* Programm aborted...\n* Error at EoXput-File...\n";

// ---- Check plugins ----

constexpr int unknown_exit_code = static_cast<int>(ResultState::Unknown);

}  // namespace

const RunEndings monitor_run_endings = {false, write_xml_error_document, 2,
                                        RfcErrorReportForm{write_rfc_error_block, rfc_error_block_closing, 1}, 2};

// A run that could not measure, for whatever reason, leaves its monitor
// without a state: UNKNOWN.
const RunEndings plugin_run_endings = {true, write_status_error_line, unknown_exit_code,
                                       RfcErrorReportForm{write_status_rfc_error, "", unknown_exit_code},
                                       unknown_exit_code};
