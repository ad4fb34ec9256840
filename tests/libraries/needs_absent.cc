// A library that needs quenmarel-absent, so that it cannot be loaded where
// that library is not found.
#include "test_library_export.h"

extern "C" int quenmarel_absent_function();

extern "C" TEST_LIBRARY_EXPORT int quenmarel_test_library_needs_absent() { return quenmarel_absent_function(); }
