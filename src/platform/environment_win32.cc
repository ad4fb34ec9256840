#include <stdlib.h>
#include <windows.h>

#include "common/bounded_text.h"
#include "platform/environment.h"
#include "platform/files.h"

unsigned long current_process_id() { return GetCurrentProcessId(); }

bool set_environment_variable(const char* name, const char* value) {
  // A library may read the process's environment block or the C runtime's
  // copy of it, so both are set.  Some runtimes keep the very text handed to
  // _putenv, so it lives as long as the process.
  static BoundedText<path_capacity> setting;
  if (!setting.assign_whole(name) || !setting.append_whole("=") || !setting.append_whole(value)) return false;
  return SetEnvironmentVariableA(name, value) != 0 && _putenv(setting.c_str()) == 0;
}

bool environment_variable(const char* name, TextBuffer& value) {
  char found[path_capacity + 1];
  const DWORD length = GetEnvironmentVariableA(name, found, sizeof found);
  return length > 0 && length < sizeof found && value.assign_whole(std::string_view(found, length));
}
