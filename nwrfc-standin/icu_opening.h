// Opening ICU's internationalisation library by bare name, as the vendor's
// NetWeaver library does at its first open: the system's search decides, so
// a library beside it but outside every search path is found only when the
// loader already holds it.
#pragma once

#include "common/bounded_text.h"

/// The library's file name on this system.
extern const char* const icu_i18n_library_file;

/// Opens the library by bare name and asks it for its version; false, with
/// the system's reason in `reason`, when that fails.
bool open_icu_i18n(TextBuffer& reason);
