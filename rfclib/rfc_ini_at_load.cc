// The logon file's path as a vendor library whose own C runtime copies the
// environment when the library is loaded sees it: RFC_INI is read once, then,
// and that value holds for every open.  Linked in place of the kit's
// logon_file_path() into a variant of the stand-in (never shipped), so that the
// tests see a sensor that names its logon file only after loading the library.

#include "logon_file.h"
#include "platform/environment.h"
#include "platform/files.h"

namespace {

struct RfcIniAtLoad {
  PathText value;
  RfcIniAtLoad() {
    if (!environment_variable("RFC_INI", value)) value.clear();
  }
};

const RfcIniAtLoad rfc_ini_at_load;

}  // namespace

const char* logon_file_path() {
  return rfc_ini_at_load.value.empty() ? default_logon_file_name : rfc_ini_at_load.value.c_str();
}
