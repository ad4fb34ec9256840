#include <stdlib.h>
#include <unistd.h>

#include "platform/environment.h"

unsigned long current_process_id() { return static_cast<unsigned long>(getpid()); }

bool set_environment_variable(const char* name, const char* value) { return setenv(name, value, 1) == 0; }

bool environment_variable(const char* name, TextBuffer& value) {
  const char* found = getenv(name);
  return found != nullptr && value.assign_whole(found);
}
