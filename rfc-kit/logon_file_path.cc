#include <cstdlib>

#include "logon_file.h"

// Read at every look-up: the sensor names its own copy of the logon file
// before each connection.
const char* logon_file_path() {
  const char* named = std::getenv("RFC_INI");
  return named != nullptr && named[0] != '\0' ? named : default_logon_file_name;
}
