// A library that loads but exports none of the functions asked of it.
#include "test_library_export.h"

extern "C" TEST_LIBRARY_EXPORT int quenmarel_test_library_without_functions() { return 1; }
