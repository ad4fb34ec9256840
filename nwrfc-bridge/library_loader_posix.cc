#include "library_loader.h"

#include <dlfcn.h>
#include <unistd.h>

const char* const nwrfc_library_file = "libsapnwrfc.so";
const char* const library_search_path_name = "the library search path";

namespace {

// Libraries the NetWeaver library needs that may lie beside it.  One loaded
// first is taken for the library's own need of it, which a directory outside
// the system's search path could not satisfy otherwise.
constexpr const char* companion_libraries[] = {"libsapucum.so"};

bool join(const char* directory, const char* file, TextBuffer& path) {
  path.assign(directory);
  return path.append(file);
}

}  // namespace

bool bridge_directory(TextBuffer& directory) {
  Dl_info info{};
  if (dladdr(reinterpret_cast<void*>(&bridge_directory), &info) == 0 || info.dli_fname == nullptr) return false;
  const std::string_view path(info.dli_fname);
  const std::size_t slash = path.rfind('/');
  if (slash == std::string_view::npos) return directory.assign("./");
  return directory.assign(path.substr(0, slash + 1));
}

bool library_file_exists(const char* directory, const char* file) {
  BoundedText<4095> path;
  return join(directory, file, path) && access(path.c_str(), F_OK) == 0;
}

LoadedLibrary load_library_from(const char* directory, const char* file, TextBuffer& reason) {
  BoundedText<4095> path;
  for (const char* companion : companion_libraries)
    if (library_file_exists(directory, companion) && join(directory, companion, path))
      dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!join(directory, file, path)) {
    reason.assign("path too long");
    return nullptr;
  }
  LoadedLibrary library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) {
    const char* error = dlerror();
    reason.assign(error != nullptr ? error : "no reason given");
  }
  return library;
}

LoadedLibrary load_library_from_search_path(const char* file) { return dlopen(file, RTLD_NOW | RTLD_LOCAL); }

void* library_function(LoadedLibrary library, const char* name) { return dlsym(library, name); }

bool library_path(LoadedLibrary /*library*/, void* function, TextBuffer& path) {
  Dl_info info{};
  if (dladdr(function, &info) == 0 || info.dli_fname == nullptr) return false;
  return path.assign(info.dli_fname);
}
