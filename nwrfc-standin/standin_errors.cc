#include "standin_errors.h"

#include <cstring>

#include "standin_text.h"

void set_error(RFC_ERROR_INFO* error, RFC_RC code, RFC_ERROR_GROUP group, std::string_view key,
               std::string_view message) {
  if (error == nullptr) return;
  std::memset(error, 0, sizeof *error);
  error->code = code;
  error->group = group;
  write_utf16_field(key, error->key, sizeof error->key / sizeof error->key[0]);
  write_utf16_field(message, error->message, sizeof error->message / sizeof error->message[0]);
}

void clear_error(RFC_ERROR_INFO* error) {
  if (error != nullptr) std::memset(error, 0, sizeof *error);
}
