#include "library_loader.h"

const char* const nwrfc_library_file = "libsapnwrfc.so";
const char* const library_search_path_name = "the library search path";
const char* const companion_name_starts[companion_kind_count] = {"libsapucum.", "libicu"};
const char* const icu_common_name_start = "libicuuc.";
const char* const icu_i18n_name_start = "libicui18n.";
