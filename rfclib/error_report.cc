#include "error_report.h"

#include <cstring>

#include "common/bounded_text.h"
#include "trace_file.h"

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

void copy_text(char* field, std::size_t field_size, const TextBuffer& text) {
  std::memset(field, 0, field_size);
  std::memcpy(field, text.c_str(), text.size() < field_size ? text.size() : field_size - 1);
}

}  // namespace

void report_error(const char* function, const char* key, const char* status, std::string_view message) {
  last_error.key.assign(key);
  last_error.status.assign(status);
  last_error.message.assign(message);
  last_error.internal_status.assign(function);
  write_trace_block(function, status, message);
}

void copy_last_error(rfc_error_info* record) {
  copy_text(record->key, sizeof record->key, last_error.key);
  copy_text(record->status, sizeof record->status, last_error.status);
  copy_text(record->message, sizeof record->message, last_error.message);
  copy_text(record->internal_status, sizeof record->internal_status, last_error.internal_status);
}

void install_error_handler(rfc_error_handler handler) { installed_handler = handler; }

void signal_error(const char* function) {
  if (installed_handler == nullptr) return;
  // The handler's parameter is writable; it gets a copy, never our literal.
  BoundedText<31> operation(function);
  char writable[32];
  std::memcpy(writable, operation.c_str(), operation.size() + 1);
  installed_handler(writable);
}
