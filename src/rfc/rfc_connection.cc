#include "rfc/rfc_connection.h"

#include <cstdio>

#include "driver/run_state.h"
#include "output/console_routines.h"
#include "rfc/connection_overrides.h"
#include "rfc/logon_file_copy.h"
#include "rfc/rfc_error_report.h"

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

void copy_system_entry(RunState& state) {
  const SystemEntry& entry = state.system_entry;
  RfcRecords& rfc = state.rfc;
  rfc.destination = entry.destination;
  rfc.client = entry.client;
  rfc.user = entry.user;
  rfc.password = entry.password;
  rfc.language = entry.language;
  rfc.mode = entry.mode;
  rfc.hostname.assign(entry.hostname.view());
  rfc.sysnr.assign(entry.sysnr.view());
  rfc.gwhost = entry.gwhost;
  rfc.gwservice = entry.gwservice;
  apply_connection_overrides(state.run_options, state.given_options, rfc.hostname, rfc.sysnr);
  pad_with_blanks(rfc.user, padded_user_length);
  pad_with_blanks(rfc.password, padded_password_length);
}

void fill_logon_options(RfcRecords& rfc) {
  rfc.logon_options = rfc_logon_options_record{};
  rfc.logon_options.destination = library_text(rfc.destination);
  rfc.logon_options.client = library_text(rfc.client);
  rfc.logon_options.user = library_text(rfc.user);
  rfc.logon_options.password = library_text(rfc.password);
  rfc.logon_options.language = library_text(rfc.language);
  rfc.logon_options.trace_level = 0;
  if (rfc.mode.equals("R/2")) {
    rfc.r2_connection_options.gateway_host = library_text_or_null(rfc.gwhost);
    rfc.r2_connection_options.gateway_service = library_text_or_null(rfc.gwservice);
    rfc.logon_options.connection_mode = RFC_MODE_R2;
    rfc.logon_options.connection_options = &rfc.r2_connection_options;
  } else {
    rfc.r3_connection_options.hostname = library_text_or_null(rfc.hostname);
    rfc.r3_connection_options.system_number = decimal_value(rfc.sysnr.view());
    rfc.r3_connection_options.gateway_host = library_text_or_null(rfc.gwhost);
    rfc.r3_connection_options.gateway_service = library_text_or_null(rfc.gwservice);
    rfc.logon_options.connection_mode = RFC_MODE_R3;
    rfc.logon_options.connection_options = &rfc.r3_connection_options;
  }
}

rfc_handle open_with_logon_options(RunState& state) {
  const rfc_handle handle = RfcOpen(&state.rfc.logon_options);
  write_syslog_line(state, handle, "RfcOpen called", "");
  return handle;
}

rfc_handle open_with_logon_file(RunState& state, std::FILE* logon_file) {
  std::fprintf(state.out, "* SapRfc.Ini.......: %s<\n", state.system_entry.destination.c_str());
  const SystemEntry& entry = state.system_entry;
  state.rfc.connect_string.assignf("CLIENT=%s USER=%s PASSWD=%s LANG=D DEST=%s", entry.client.c_str(),
                                   entry.user.c_str(), entry.password.c_str(), entry.destination.c_str());
  // The library reads "SapRfc.ini" while it opens the connection, so the copy
  // stays locked against other sensors in this directory until it has.
  LogonFileCopy copy(logon_file);
  if (!copy.in_place()) return RFC_NULL_HANDLE;
  const rfc_handle handle = RfcOpenEx(state.rfc.connect_string.c_str(), &state.rfc.open_error_details);
  write_syslog_line(state, handle, "RfcOpenEx called", "");
  return handle;
}

}  // namespace

void install_rfc_environment(RunState& state) {
  set_rfc_error_report_state(state);
  state.rfc.environment.error_handler = report_rfc_error;
  state.rfc.environment.allocate = nullptr;
  RfcEnvironment(&state.rfc.environment);
}

rfc_handle open_rfc_connection(RunState& state) {
  copy_system_entry(state);
  fill_logon_options(state.rfc);
  BoundedText<31> logon_file_name;
  logon_file_name.assignf("SapRfc.%s", state.system_entry.destination.c_str());
  std::FILE* logon_file = open_file_for_reading(logon_file_name.c_str());
  if (logon_file == nullptr) return open_with_logon_options(state);
  return open_with_logon_file(state, logon_file);
}
