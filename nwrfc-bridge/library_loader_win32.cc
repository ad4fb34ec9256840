#include "library_loader.h"
#include "platform/installation_names.h"

const char* const nwrfc_library_file = windows_installation_names.nwrfc_library;
// A DLL of the SDK's name anywhere on the search may be anyone's; the bridge
// takes the SDK from its own directory alone.
const char* const library_search_path_name = nullptr;
const char* const companion_name_starts[companion_kind_count] = {windows_installation_names.nwrfc_companion_starts[0],
                                                                 windows_installation_names.nwrfc_companion_starts[1]};
const char* const icu_common_name_start = windows_installation_names.icu_common_start;
const char* const icu_i18n_name_start = windows_installation_names.icu_i18n_start;
