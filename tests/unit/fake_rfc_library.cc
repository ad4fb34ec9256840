#include "fake_rfc_library.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

#include "rfc/rfc_library_binding.h"

namespace {

FakeRfcLibrary fake;

std::optional<std::string> text_or_absent(const char* text) {
  return text == nullptr ? std::nullopt : std::optional<std::string>(text);
}

std::optional<std::string> file_content(const char* path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return std::nullopt;
  std::ostringstream content;
  content << file.rdbuf();
  return content.str();
}

// A lock of flock belongs to its open file, so a second open in this process
// finds the sensor's own lock as another process would.
bool lock_is_free(const char* path) {
  const int descriptor = open(path, O_RDONLY | O_CLOEXEC);
  if (descriptor < 0) return true;
  const bool free = flock(descriptor, LOCK_EX | LOCK_NB) == 0;
  close(descriptor);
  return free;
}

void note(const std::string& event) {
  fake.events.push_back(event);
  if (fake.event_log != nullptr) std::fprintf(fake.event_log, "[%s]\n", event.c_str());
}

// Calls the installed handler the way the library does for a broken connection.
bool broke_during(const char* function) {
  if (fake.break_during != function) return false;
  if (fake.error_handler != nullptr) {
    char operation[32];
    std::snprintf(operation, sizeof operation, "%s", function);
    fake.error_handler(operation);
  }
  return true;
}

}  // namespace

FakeRfcLibrary& fake_rfc_library() { return fake; }
void reset_fake_rfc_library() { fake = FakeRfcLibrary{}; }

bool load_rfc_library(TextBuffer& failure) {
  ++fake.load_calls;
  fake.rfc_ini_at_load = text_or_absent(std::getenv("RFC_INI"));
  if (fake.load_failure.empty()) return true;
  failure.assign(fake.load_failure);
  return false;
}

extern "C" {

void RFC_CALL RfcEnvironment(rfc_environment_record* environment) {
  ++fake.environment_calls;
  fake.error_handler = environment->error_handler;
  fake.allocate_routine = reinterpret_cast<void*>(environment->allocate);
}

rfc_handle RFC_CALL RfcOpen(rfc_logon_options_record* options) {
  ++fake.open_calls;
  fake.destination = options->destination;
  fake.client = options->client;
  fake.user = options->user;
  fake.password = options->password;
  fake.language = options->language;
  fake.connection_mode = options->connection_mode;
  fake.trace_level = options->trace_level;
  if (options->connection_mode == RFC_MODE_R2) {
    auto* r2 = static_cast<r2_connection_options_record*>(options->connection_options);
    fake.gateway_host = text_or_absent(r2->gateway_host);
    fake.gateway_service = text_or_absent(r2->gateway_service);
  } else {
    auto* r3 = static_cast<r3_connection_options_record*>(options->connection_options);
    fake.hostname = text_or_absent(r3->hostname);
    fake.system_number = r3->system_number;
    fake.gateway_host = text_or_absent(r3->gateway_host);
    fake.gateway_service = text_or_absent(r3->gateway_service);
  }
  return fake.open_handle;
}

rfc_handle RFC_CALL RfcOpenEx(const char* connect_string, rfc_open_error_details*) {
  ++fake.open_ex_calls;
  fake.connect_string = connect_string;
  fake.logon_file_at_open_ex = file_content("SapRfc.ini");
  if (!fake.reads_rfc_ini_once || !fake.rfc_ini) {
    const char* named = std::getenv("RFC_INI");
    fake.rfc_ini = named == nullptr ? std::nullopt : std::optional<std::string>(named);
  }
  fake.rfc_ini_file_at_open_ex = fake.rfc_ini ? file_content(fake.rfc_ini->c_str()) : std::nullopt;
  fake.logon_lock_free_at_open_ex = lock_is_free("SapRfc.ini.lock");
  return fake.open_handle;
}

rfc_result_code RFC_CALL RfcCall(rfc_handle, const char* function, rfc_parameter* sending, rfc_table_entry* tables) {
  note("RfcCall");
  fake.called_function = function;
  fake.sending_list_empty = sending != nullptr && sending[0].name == nullptr;
  fake.table_lists_empty = tables != nullptr && tables[0].name == nullptr;
  if (broke_during("RfcCall")) return RFC_RESULT_FAILURE;
  return fake.call_result;
}

rfc_result_code RFC_CALL RfcReceive(rfc_handle, rfc_parameter* receiving, rfc_table_entry* tables, char** exception) {
  note("RfcReceive");
  fake.table_lists_empty = fake.table_lists_empty && tables != nullptr && tables[0].name == nullptr;
  for (rfc_parameter* entry = receiving; entry->name != nullptr; ++entry) {
    fake.receiving_names.push_back(entry->name);
    if (entry->name_length != std::strlen(entry->name) || entry->type_code != RFC_TYPE_INT || entry->value_length != 4)
      fake.receiving_entries_well_formed = false;
    if (fake.receive_result == RFC_RESULT_OK) {
      auto value = fake.values.find(entry->name);
      if (value != fake.values.end()) std::memcpy(entry->value_address, &value->second, 4);
    }
  }
  if (broke_during("RfcReceive")) return RFC_RESULT_FAILURE;
  if (fake.exception_text) *exception = const_cast<char*>(fake.exception_text->c_str());
  return fake.receive_result;
}

int RFC_CALL RfcLastError(rfc_error_info* error) {
  note("RfcLastError");
  std::memcpy(error, &fake.last_error, sizeof *error);
  return 0;
}

void RFC_CALL RfcClose(rfc_handle handle) { note("RfcClose " + std::to_string(handle)); }
}
