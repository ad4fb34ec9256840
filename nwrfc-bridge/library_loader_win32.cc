#include "library_loader.h"

const char* const nwrfc_library_file = "sapnwrfc.dll";
// A DLL of the SDK's name anywhere on the search may be anyone's; the bridge
// takes the SDK from its own directory alone.
const char* const library_search_path_name = nullptr;
const char* const companion_name_starts[companion_kind_count] = {"libsapucum.", "icu"};
const char* const icu_common_name_start = "icuuc";
const char* const icu_i18n_name_start = "icuin";
