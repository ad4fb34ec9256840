#include "error_report.h"

#include <cstring>

#include "common/bounded_text.h"
#include "platform/trace_file.h"

namespace {

// The fields are as long as those of rfc_error_info (the terminator not
// counted); longer texts are cut, as the record could not hold them anyway.
struct LastError {
  BoundedText<32> key;
  BoundedText<127> status;
  BoundedText<255> message;
  BoundedText<127> internal_status;
};

LastError last_error;
rfc_error_handler installed_handler = nullptr;

// Cuts a text that does not fit before the UTF-8 character the cut would
// split, so that a cut record field still reads as whole characters.
void assign_whole_characters(TextBuffer& field, std::string_view text) {
  if (field.assign(text)) return;
  std::size_t cut = field.size();
  std::size_t back = 0;
  while (back < 3 && cut - back > 0 && (static_cast<unsigned char>(text[cut - back]) & 0xC0) == 0x80) ++back;
  const unsigned char lead = static_cast<unsigned char>(text[cut - back]);
  const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
  if (back > 0 && length > back) field.cut_at(cut - back);
}

void copy_text(char* field, std::size_t field_size, const TextBuffer& text) {
  std::memset(field, 0, field_size);
  std::memcpy(field, text.c_str(), text.size() < field_size ? text.size() : field_size - 1);
}

}  // namespace

void report_error(const char* function, const char* key, const char* status, std::string_view message) {
  assign_whole_characters(last_error.key, key);
  assign_whole_characters(last_error.status, status);
  assign_whole_characters(last_error.message, message);
  assign_whole_characters(last_error.internal_status, function);
  write_trace_block(function, status, message);
}

void fill_open_error_details(rfc_open_error_details* details, const char* key, std::string_view message) {
  if (details == nullptr) return;
  std::memset(details, 0, sizeof *details);
  details->group = std::strcmp(key, key_logon_failure) == 0 ? 2 : 1;
  BoundedText<sizeof details->key - 1> key_text(key);
  BoundedText<sizeof details->message - 1> message_text(message);
  std::memcpy(details->key, key_text.c_str(), key_text.size());
  std::memcpy(details->message, message_text.c_str(), message_text.size());
}

rfc_handle fail_open(const char* function, const char* key, const char* status, std::string_view message,
                     rfc_open_error_details* details) {
  report_error(function, key, status, message);
  fill_open_error_details(details, key, message);
  return RFC_NULL_HANDLE;
}

rfc_result_code signal_failure(const char* function, const char* key, const char* status, std::string_view message) {
  report_error(function, key, status, message);
  signal_error(function);
  return RFC_RESULT_FAILURE;
}

int copy_last_error(rfc_error_info* record) {
  if (record == nullptr) return 1;
  copy_text(record->key, sizeof record->key, last_error.key);
  copy_text(record->status, sizeof record->status, last_error.status);
  copy_text(record->message, sizeof record->message, last_error.message);
  copy_text(record->internal_status, sizeof record->internal_status, last_error.internal_status);
  return 0;
}

void take_environment(const rfc_environment_record* environment) {
  // The allocation hook is not used: our libraries allocate nothing.
  if (environment != nullptr) installed_handler = environment->error_handler;
}

void signal_error(const char* function) {
  if (installed_handler == nullptr) return;
  // The handler's parameter is writable; it gets a copy, never our literal.
  BoundedText<31> operation(function);
  char writable[32];
  std::memcpy(writable, operation.c_str(), operation.size() + 1);
  installed_handler(writable);
}
