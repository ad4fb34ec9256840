// The library needs-absent needs, which never lies where it is looked for.
#include "test_library_export.h"

extern "C" TEST_LIBRARY_EXPORT int quenmarel_absent_function() { return 1; }
