// The text that tells this library apart from the vendor's LIBRFC32.dll.
#include "common/library_identity.h"

namespace {

// Nothing refers to it: `used` keeps it, and the text it points at, in the file.
[[gnu::used]] const char* const identity = nwrfc_bridge_identity;

}  // namespace
