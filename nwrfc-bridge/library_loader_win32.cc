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

// How deep the search for a missing library follows the imports of the
// libraries found beside the bridge: the SDK's chain is three deep.
constexpr int import_depth_limit = 4;

bool loadable_from_system(const char* file) {
  HMODULE library = LoadLibraryExA(file, nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (library != nullptr) FreeLibrary(library);
  return library != nullptr;
}

// The first library that `file` in `directory`, or a library it needs from
// there, imports and that neither lies in `directory` nor is found by the
// system.  The file is mapped as an image, never run, so its import table
// is read at its addresses.
bool find_missing_import(const char* directory, const char* file, int depth, TextBuffer& missing) {
  wchar_t wide[path_units];
  if (depth > import_depth_limit || !wide_path(directory, file, wide)) return false;
  HMODULE image = LoadLibraryExW(wide, nullptr, LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  if (image == nullptr) return false;
  const auto* base = reinterpret_cast<const unsigned char*>(reinterpret_cast<ULONG_PTR>(image) & ~ULONG_PTR{3});
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  bool found = false;
  for (const auto* entry = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
       !found && imports.VirtualAddress != 0 && entry->Name != 0; ++entry) {
    const char* name = reinterpret_cast<const char*>(base + entry->Name);
    if (library_file_exists(directory, name))
      found = find_missing_import(directory, name, depth + 1, missing);
    else if (!loadable_from_system(name))
      found = missing.assign(name);
  }
  FreeLibrary(image);
  return found;
}

// The loader's error code in words: a missing library named, the other
// bitness said.
void describe_load_failure(const char* directory, const char* file, DWORD error, TextBuffer& reason) {
  BoundedText<MAX_PATH> missing;
  if (error == ERROR_BAD_EXE_FORMAT)
    reason.assign(sizeof(void*) == 4 ? "it is a 64-bit library; this bridge is 32-bit"
                                     : "it is a 32-bit library; this bridge is 64-bit");
  else if (error == ERROR_MOD_NOT_FOUND && find_missing_import(directory, file, 0, missing))
    reason.assignf("%s, which it needs, was not found (Windows error %lu)", missing.c_str(),
                   static_cast<unsigned long>(error));
  else
    reason.assignf("Windows error %lu; a library it needs may be missing beside it", static_cast<unsigned long>(error));
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
  if (library == nullptr) {
    const DWORD error = GetLastError();
    BoundedText<1023> why;
    describe_load_failure(directory, file, error, why);
    reason.assignf("%s in %s could not be loaded: %s", file, directory, why.c_str());
  }
  return reinterpret_cast<LoadedLibrary>(library);
}

LoadedLibrary load_library_from_search_path(const char* file) {
  return reinterpret_cast<LoadedLibrary>(LoadLibraryA(file));
}

void* library_function(LoadedLibrary library, const char* name, unsigned argument_bytes) {
  auto* module = static_cast<HMODULE>(library);
  void* function = reinterpret_cast<void*>(GetProcAddress(module, name));
  if (function != nullptr || sizeof(void*) != 4) return function;
  // A 32-bit library may export its stdcall functions under their decorated
  // names only, with or without the leading underscore.
  BoundedText<127> decorated;
  decorated.assignf("_%s@%u", name, argument_bytes);
  function = reinterpret_cast<void*>(GetProcAddress(module, decorated.c_str()));
  if (function != nullptr) return function;
  return reinterpret_cast<void*>(GetProcAddress(module, decorated.c_str() + 1));
}

bool library_path(LoadedLibrary library, void* /*function*/, TextBuffer& path) {
  return module_path(static_cast<HMODULE>(library), path);
}

bool make_directory(const char* path) {
  wchar_t wide[path_units];
  if (!wide_path("", path, wide)) return false;
  if (CreateDirectoryW(wide, nullptr)) return true;
  const DWORD attributes = GetFileAttributesW(wide);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}
