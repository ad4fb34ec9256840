#include "library_loader.h"

#include <windows.h>

const char* const nwrfc_library_file = "sapnwrfc.dll";
const char* const library_search_path_name = "the DLL search path";

namespace {

constexpr DWORD path_units = 4096;

bool utf8_from_wide(const wchar_t* wide, TextBuffer& text) {
  char bytes[path_units * 3];
  const int length = WideCharToMultiByte(CP_UTF8, 0, wide, -1, bytes, sizeof bytes, nullptr, nullptr);
  return length > 0 && text.assign(std::string_view(bytes, static_cast<std::size_t>(length - 1)));
}

bool wide_path(const char* directory, const char* file, wchar_t (&wide)[path_units]) {
  BoundedText<path_units * 3> path(directory);
  return path.append(file) && MultiByteToWideChar(CP_UTF8, 0, path.c_str(), -1, wide, path_units) > 0;
}

bool module_path(HMODULE module, TextBuffer& path) {
  wchar_t wide[path_units];
  const DWORD length = GetModuleFileNameW(module, wide, path_units);
  return length > 0 && length < path_units && utf8_from_wide(wide, path);
}

}  // namespace

bool bridge_directory(TextBuffer& directory) {
  HMODULE bridge = nullptr;
  if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                          reinterpret_cast<LPCWSTR>(&bridge_directory), &bridge))
    return false;
  BoundedText<path_units * 3> path;
  if (!module_path(bridge, path)) return false;
  const std::string_view text = path.view();
  const std::size_t separator = text.find_last_of("\\/");
  if (separator == std::string_view::npos) return directory.assign(".\\");
  return directory.assign(text.substr(0, separator + 1));
}

bool library_file_exists(const char* directory, const char* file) {
  wchar_t wide[path_units];
  return wide_path(directory, file, wide) && GetFileAttributesW(wide) != INVALID_FILE_ATTRIBUTES;
}

LoadedLibrary load_library_from(const char* directory, const char* file, TextBuffer& reason) {
  wchar_t wide[path_units];
  if (!wide_path(directory, file, wide)) {
    reason.assign("path too long");
    return nullptr;
  }
  // The altered search looks for the libraries it needs (the Unicode and
  // ICU libraries of the SDK) in its own directory first.
  HMODULE library = LoadLibraryExW(wide, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  if (library == nullptr)
    reason.assignf("Windows error %lu; a library it needs may be missing beside it",
                   static_cast<unsigned long>(GetLastError()));
  return reinterpret_cast<LoadedLibrary>(library);
}

LoadedLibrary load_library_from_search_path(const char* file) {
  return reinterpret_cast<LoadedLibrary>(LoadLibraryA(file));
}

void* library_function(LoadedLibrary library, const char* name) {
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name));
}

bool library_path(LoadedLibrary library, void* /*function*/, TextBuffer& path) {
  return module_path(static_cast<HMODULE>(library), path);
}
