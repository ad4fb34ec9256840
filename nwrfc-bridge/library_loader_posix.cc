#include "library_loader.h"
#include "platform/installation_names.h"

const char* const nwrfc_library_file = linux_installation_names.nwrfc_library;
const char* const library_search_path_name = "the library search path";
const char* const companion_name_starts[companion_kind_count] = {linux_installation_names.nwrfc_companion_starts[0],
                                                                 linux_installation_names.nwrfc_companion_starts[1]};
const char* const icu_common_name_start = linux_installation_names.icu_common_start;
const char* const icu_i18n_name_start = linux_installation_names.icu_i18n_start;
