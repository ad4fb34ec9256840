#include "library_loader.h"

#include <windows.h>

#include "common/bounded_text.h"

const char* const nwrfc_library_file = "sapnwrfc.dll";
// A DLL of the SDK's name anywhere on the search may be anyone's; the bridge
// takes the SDK from its own directory alone.
const char* const library_search_path_name = nullptr;
const char* const companion_name_starts[companion_kind_count] = {"libsapucum.", "icu"};
const char* const icu_common_name_start = "icuuc";
const char* const icu_i18n_name_start = "icuin";

namespace {

constexpr DWORD path_units = 4096;

bool wide_path(const char* directory, const char* file, wchar_t (&wide)[path_units]) {
  BoundedText<path_units * 3> path(directory);
  return path.append(file) && MultiByteToWideChar(CP_UTF8, 0, path.c_str(), -1, wide, path_units) > 0;
}

}  // namespace

bool make_directory(const char* path) {
  wchar_t wide[path_units];
  if (!wide_path("", path, wide)) return false;
  if (CreateDirectoryW(wide, nullptr)) return true;
  const DWORD attributes = GetFileAttributesW(wide);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}
