#include "library_loader.h"

#include <dirent.h>
#include <dlfcn.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string_view>

const char* const nwrfc_library_file = "libsapnwrfc.so";
const char* const library_search_path_name = "the library search path";

namespace {

using PathText = BoundedText<4095>;

// The SDK's companion libraries, each before those that need it.  None of
// them carries a search path, and the bridge's directory lies on no search
// path: each one loaded by its absolute path first is taken, by its name,
// for the need of the next and for the NetWeaver library's own opening of
// ICU by bare name.  A name ending in a dot takes any version number after it.
constexpr const char* companion_libraries[] = {"libicudata.so.", "libicuuc.so.", "libicui18n.so.", "libicudecnumber.so",
                                               "libsapucum.so"};

bool join(const char* directory, const char* file, TextBuffer& path) {
  path.assign(directory);
  return path.append(file);
}

bool is_companion(std::string_view pattern, std::string_view file) {
  if (pattern.back() != '.') return file == pattern;
  if (file.size() <= pattern.size() || file.substr(0, pattern.size()) != pattern) return false;
  return file.substr(pattern.size()).find_first_not_of("0123456789") == std::string_view::npos;
}

LoadedLibrary open_library(const char* path, TextBuffer& reason) {
  LoadedLibrary library = dlopen(path, RTLD_NOW | RTLD_LOCAL);
  if (library != nullptr) return library;
  const char* error = dlerror();
  // The loader's words for a library of the other bitness.
  if (error == nullptr)
    reason.assign("no reason given");
  else if (std::strstr(error, "wrong ELF class: ELFCLASS64") != nullptr)
    reason.assign("it is a 64-bit library; this bridge is 32-bit");
  else if (std::strstr(error, "wrong ELF class: ELFCLASS32") != nullptr)
    reason.assign("it is a 32-bit library; this bridge is 64-bit");
  else
    reason.assign(error);
  return nullptr;
}

// Loads the companions of `pattern` that lie in `directory`; false, with
// the file and the reason, at the first that fails.
bool load_companions(const char* directory, std::string_view pattern, TextBuffer& reason) {
  DIR* listing = opendir(directory);
  if (listing == nullptr) return true;
  bool loaded = true;
  PathText path, why;
  for (const dirent* entry = readdir(listing); loaded && entry != nullptr; entry = readdir(listing)) {
    if (!is_companion(pattern, entry->d_name) || !join(directory, entry->d_name, path)) continue;
    loaded = open_library(path.c_str(), why) != nullptr;
    if (!loaded) reason.assignf("%s in %s could not be loaded: %s", entry->d_name, directory, why.c_str());
  }
  closedir(listing);
  return loaded;
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
  PathText path;
  return join(directory, file, path) && access(path.c_str(), F_OK) == 0;
}

LoadedLibrary load_library_from(const char* directory, const char* file, TextBuffer& reason) {
  for (const char* companion : companion_libraries)
    if (!load_companions(directory, companion, reason)) return nullptr;
  PathText path, why;
  if (!join(directory, file, path)) {
    reason.assign("path too long");
    return nullptr;
  }
  LoadedLibrary library = open_library(path.c_str(), why);
  if (library == nullptr) reason.assignf("%s in %s could not be loaded: %s", file, directory, why.c_str());
  return library;
}

LoadedLibrary load_library_from_search_path(const char* file) { return dlopen(file, RTLD_NOW | RTLD_LOCAL); }

void* library_function(LoadedLibrary library, const char* name, unsigned /*argument_bytes*/) {
  return dlsym(library, name);
}

bool library_path(LoadedLibrary /*library*/, void* function, TextBuffer& path) {
  Dl_info info{};
  if (dladdr(function, &info) == 0 || info.dli_fname == nullptr) return false;
  return path.assign(info.dli_fname);
}

bool make_directory(const char* path) {
  if (mkdir(path, 0777) == 0) return true;
  struct stat status {};
  return errno == EEXIST && stat(path, &status) == 0 && S_ISDIR(status.st_mode);
}
