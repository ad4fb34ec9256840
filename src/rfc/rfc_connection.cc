#include "rfc/rfc_connection.h"

#include <string_view>

#include "common/logon_file_names.h"
#include "common/text_characters.h"
#include "config/system_number.h"
#include "platform/files.h"
#include "platform/trace_file.h"
#include "rfc/connection_overrides.h"
#include "rfc/rfc_error_report.h"
#include "rfc/rfc_library_binding.h"

namespace {

constexpr std::size_t padded_user_length = 12;
constexpr std::size_t padded_password_length = 10;

// The library takes writable texts but does not write them.
char* library_text(TextBuffer& text) { return const_cast<char*>(text.c_str()); }
char* library_text_or_null(TextBuffer& text) { return text.empty() ? nullptr : library_text(text); }

void pad_with_blanks(TextBuffer& text, std::size_t length) {
  while (text.size() < length && text.append(' ')) {
  }
}

void copy_system_entry(RfcRecords& rfc, const SystemEntry& entry, const RunOptions& options) {
  rfc.entry = entry;
  rfc.hostname.assign(entry.hostname.view());
  rfc.sysnr.assign(entry.sysnr.view());
  apply_connection_overrides(options, rfc.hostname, rfc.sysnr);
  pad_with_blanks(rfc.entry.user, padded_user_length);
  pad_with_blanks(rfc.entry.password, padded_password_length);
}

void fill_logon_options(RfcRecords& rfc) {
  SystemEntry& entry = rfc.entry;
  rfc.logon_options = rfc_logon_options_record{};
  rfc.logon_options.destination = library_text(entry.destination);
  rfc.logon_options.client = library_text(entry.client);
  rfc.logon_options.user = library_text(entry.user);
  rfc.logon_options.password = library_text(entry.password);
  rfc.logon_options.language = library_text(entry.language);
  rfc.logon_options.trace_level = 0;
  if (entry.mode.equals("R/2")) {
    rfc.r2_connection_options.gateway_host = library_text_or_null(entry.gwhost);
    rfc.r2_connection_options.gateway_service = library_text_or_null(entry.gwservice);
    rfc.logon_options.connection_mode = RFC_MODE_R2;
    rfc.logon_options.connection_options = &rfc.r2_connection_options;
  } else {
    rfc.r3_connection_options.hostname = library_text_or_null(rfc.hostname);
    rfc.r3_connection_options.system_number = system_number_value(rfc.sysnr.view());
    rfc.r3_connection_options.gateway_host = library_text_or_null(entry.gwhost);
    rfc.r3_connection_options.gateway_service = library_text_or_null(entry.gwservice);
    rfc.logon_options.connection_mode = RFC_MODE_R3;
    rfc.logon_options.connection_options = &rfc.r3_connection_options;
  }
}

rfc_handle open_with_logon_options(RfcRecords& rfc) { return RfcOpen(&rfc.logon_options); }

bool make_logon_file_copies(RfcRecords& rfc, std::FILE* logon_file) {
  if (!refresh_shared_logon_file(logon_file, rfc.logon_copy_failure)) return false;
  std::rewind(logon_file);
  return rfc.own_logon_file.rewrite(logon_file, rfc.logon_copy_failure);
}

// The library never sees a connection whose logon file was not copied, so
// the sensor writes its block to the trace file in the library's place.
void report_logon_copy_failure(std::string_view destination, TextBuffer& failure) {
  LogonCopyFailure detail;
  form_destination_logon_file_name(destination, detail);
  detail.append(" not copied: ");
  detail.append(failure.view());
  failure.assign(detail.view());
  write_trace_block("RfcOpenEx", "logon file not copied", detail.view());
}

rfc_handle open_with_logon_file(RfcRecords& rfc, const SystemEntry& entry, const RunOptions& options,
                                OwnedFile logon_file, std::FILE* out) {
  // A status line for the person at a console; outside console mode it would
  // stand before the document or inside a bare value, which the monitor rejects.
  if (options.console_mode) {
    BoundedText<decltype(SystemEntry::destination)::max_length> shown_destination;
    append_single_line(shown_destination, entry.destination.view());  // a profile's value, on a line of its own
    std::fprintf(out, "* SapRfc.Ini.......: %s<\n", shown_destination.c_str());
  }
  rfc.connect_string.assignf("CLIENT=%s USER=%s PASSWD=%s LANG=D DEST=%s", entry.client.c_str(), entry.user.c_str(),
                             entry.password.c_str(), entry.destination.c_str());
  // "SapRfc.ini" stays what it always was for whoever reads it, but the
  // library reads this run's own copy: other sensors in the directory replace
  // "SapRfc.ini" while this one is still waiting for its system to answer.
  if (!make_logon_file_copies(rfc, logon_file.get())) {
    report_logon_copy_failure(entry.destination.view(), rfc.logon_copy_failure);
    return RFC_NULL_HANDLE;
  }
  logon_file.reset();
  return RfcOpenEx(rfc.connect_string.c_str(), &rfc.open_error_details);
}

}  // namespace

bool prepare_rfc_library(TextBuffer& failure) {
  point_library_at_own_logon_file();
  return load_rfc_library(failure);
}

void install_rfc_environment(RfcRecords& records, std::FILE* out, const RfcErrorReportForm& form) {
  set_rfc_error_report_output(out, form);
  records.environment.error_handler = report_rfc_error;
  records.environment.allocate = nullptr;
  RfcEnvironment(&records.environment);
}

rfc_handle open_rfc_connection(RfcRecords& records, const SystemEntry& entry, const RunOptions& options,
                               std::FILE* out) {
  records.logon_copy_failure.clear();
  copy_system_entry(records, entry, options);
  fill_logon_options(records);
  BoundedText<destination_logon_file_prefix.size() + decltype(SystemEntry::destination)::max_length> logon_file_name;
  form_destination_logon_file_name(entry.destination.view(), logon_file_name);
  OwnedFile logon_file(open_file_for_reading(logon_file_name.c_str()));
  if (logon_file == nullptr) return open_with_logon_options(records);
  return open_with_logon_file(records, entry, options, std::move(logon_file), out);
}
