// A stand-in for the RFC library in unit tests: it records what the sensor
// passes and answers with programmed results.
#pragma once

#include <cstdint>
#include <cstdio>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "rfc_library.h"

struct FakeRfcLibrary {
  // --- programmed answers ---
  rfc_handle open_handle = 42;
  rfc_result_code call_result = RFC_RESULT_OK;
  rfc_result_code receive_result = RFC_RESULT_OK;
  /// Values stored by RfcReceive (code 0) into the parameters of these names.
  std::map<std::string, std::int32_t> values;
  /// Pointed at by RfcReceive; absent means a null exception text.
  std::optional<std::string> exception_text;
  /// Makes RfcCall or RfcReceive (by name) call the installed error handler.
  std::string break_during;
  rfc_error_info last_error{};

  /// Makes loading the library fail with this text; empty: it loads.
  std::string load_failure;

  // --- what the sensor passed ---
  int load_calls = 0;
  /// RFC_INI as a library that copies the environment when it is loaded sees it.
  std::optional<std::string> rfc_ini_at_load;
  int environment_calls = 0;
  rfc_error_handler error_handler = nullptr;
  void* allocate_routine = reinterpret_cast<void*>(1);
  int open_calls = 0;
  int open_ex_calls = 0;
  std::string destination, client, user, password, language;
  int connection_mode = -1;
  int trace_level = -1;
  std::optional<std::string> hostname, gateway_host, gateway_service;
  int system_number = -1;
  std::string connect_string;
  /// "SapRfc.ini" as it was while RfcOpenEx ran; absent when there was none.
  std::optional<std::string> logon_file_at_open_ex;
  /// Makes RfcOpenEx read RFC_INI at its first call only, as a library may.
  bool reads_rfc_ini_once = false;
  /// RFC_INI as RfcOpenEx read it, and the file it names as it was then.
  std::optional<std::string> rfc_ini;
  std::optional<std::string> rfc_ini_file_at_open_ex;
  /// Whether another process could have taken the logon-file lock while RfcOpenEx ran.
  bool logon_lock_free_at_open_ex = false;
  std::vector<std::string> events;  // "RfcCall", "RfcReceive", "RfcClose 42", "RfcLastError"
  /// Where each event is also written as a line, for a process that ends before the test can look.
  std::FILE* event_log = nullptr;
  std::string called_function;
  std::vector<std::string> receiving_names;
  bool receiving_entries_well_formed = true;
  bool sending_list_empty = false;
  bool table_lists_empty = false;
};

/// The fake of the current test, reset by reset_fake_rfc_library().  It
/// defines the sensor's loader of the library too, so that the sensor's own
/// definitions of the seven functions, which forward to a loaded library, are
/// never linked into the tests.
FakeRfcLibrary& fake_rfc_library();
void reset_fake_rfc_library();
