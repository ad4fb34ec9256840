#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/directories.h"
#include "platform/native_path_posix.h"

bool list_directory(const char* windows_path, DirectoryNameVisitor visit, void* context) {
  NativePath native;
  if (!to_native_path(windows_path, native)) return false;
  DIR* directory = opendir(native.empty() ? "." : native.c_str());
  if (directory == nullptr) return false;
  while (const dirent* entry = readdir(directory)) {
    if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0) continue;
    visit(entry->d_name, context);
  }
  closedir(directory);
  return true;
}

bool change_working_directory(const char* windows_path) {
  NativePath native;
  return to_native_path(windows_path, native) && chdir(native.c_str()) == 0;
}

OwnDirectory make_own_directory(const char* windows_path) {
  constexpr mode_t owner_only = 0700;
  NativePath native;
  if (!to_native_path(windows_path, native)) return OwnDirectory::NotMade;
  // mkdir never follows a link, a dangling one included: the name is taken.
  if (mkdir(native.c_str(), owner_only) != 0 && errno != EEXIST) return OwnDirectory::NotMade;
  struct stat status;
  if (lstat(native.c_str(), &status) != 0) return OwnDirectory::NotMade;
  if (S_ISLNK(status.st_mode)) return OwnDirectory::Link;
  return S_ISDIR(status.st_mode) ? OwnDirectory::Ready : OwnDirectory::NotADirectory;
}

bool working_directory(TextBuffer& path) {
  char buffer[path_capacity + 1];
  return getcwd(buffer, sizeof buffer) != nullptr && path.assign_whole(buffer);
}

// The dynamic loader has no one directory of the system's own libraries.
bool system_library_directory(unsigned /*bits*/, TextBuffer& /*path*/) { return false; }
