#include <dlfcn.h>
#include <fcntl.h>
#include <link.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "platform/library_loading.h"
#include "platform/library_system.h"

const char library_path_separator = '/';

namespace {

const char* not_regular_kind(mode_t mode) {
  if (S_ISDIR(mode)) return "a directory, not a regular file";
  if (S_ISFIFO(mode)) return "a FIFO, not a regular file";
  if (S_ISCHR(mode) || S_ISBLK(mode)) return "a device, not a regular file";
  if (S_ISSOCK(mode)) return "a socket, not a regular file";
  return "not a regular file";
}

bool fail_with(LibraryLoad& load, LibraryFault fault, const char* detail) {
  load.fault = fault;
  load.detail.assign(detail);
  return false;
}

// What the entry is, its link followed: false, with the fault, unless a
// regular file lies there.
bool check_entry(LibraryLoad& load) {
  struct stat status;
  if (lstat(load.path.c_str(), &status) != 0)
    return fail_with(load, errno == ENOENT || errno == ENOTDIR ? LibraryFault::NotFound : LibraryFault::Unreadable, "");
  if (S_ISLNK(status.st_mode) && stat(load.path.c_str(), &status) != 0)
    return fail_with(load, LibraryFault::NotRegularFile,
                     errno == ELOOP ? "a link in a loop of links" : "a link that leads to no file");
  if (!S_ISREG(status.st_mode)) return fail_with(load, LibraryFault::NotRegularFile, not_regular_kind(status.st_mode));
  return true;
}

bool read_at(void* context, std::uint64_t offset, unsigned char* bytes, std::size_t count) {
  const int descriptor = *static_cast<int*>(context);
  while (count > 0) {
    const ssize_t got = pread(descriptor, bytes, count, static_cast<off_t>(offset));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;
    bytes += got;
    offset += static_cast<std::uint64_t>(got);
    count -= static_cast<std::size_t>(got);
  }
  return true;
}

// Calls `visit` with each entry of LD_LIBRARY_PATH, empty ones too, until it
// returns true; whether one did.
template <typename Visit>
bool for_each_listed_directory(Visit visit) {
  const char* variable = std::getenv("LD_LIBRARY_PATH");
  if (variable == nullptr || *variable == '\0') return false;
  const std::string_view listed = variable;
  for (std::size_t start = 0;;) {
    const std::size_t colon = listed.find(':', start);
    if (visit(listed.substr(start, colon == std::string_view::npos ? std::string_view::npos : colon - start)))
      return true;
    if (colon == std::string_view::npos) return false;
    start = colon + 1;
  }
}

// The dynamic linker reads an empty or relative entry of LD_LIBRARY_PATH as
// a place below the working directory.
bool search_path_names_the_working_directory() {
  return for_each_listed_directory([](std::string_view directory) { return directory.substr(0, 1) != "/"; });
}

// The directories the dynamic linker searches for a bare name after the
// library's own search path: LD_LIBRARY_PATH (its full paths alone), the
// directory of the C library this process runs with, then the traditional
// ones.
template <typename Visit>
bool for_each_search_directory(Visit visit) {
  if (for_each_listed_directory(
          [&](std::string_view directory) { return directory.substr(0, 1) == "/" && visit(directory); }))
    return true;
  Dl_info info{};
  PathText runtime;
  if (dladdr(reinterpret_cast<void*>(&std::fopen), &info) != 0 && info.dli_fname != nullptr &&
      info.dli_fname[0] == '/') {
    runtime.assign(info.dli_fname);
    runtime.cut_at(runtime.view().rfind('/'));
    if (visit(runtime.view())) return true;
  }
  for (const char* directory : {"/usr/local/lib", "/lib", "/usr/lib", "/lib64", "/usr/lib64"})
    if (visit(directory)) return true;
  return false;
}

}  // namespace

bool read_library_file(LibraryLoad& load, LibraryFileReading read, void* context) {
  if (!check_entry(load)) return false;
  int descriptor = open(load.path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  struct stat status {};
  if (descriptor < 0) return fail_with(load, LibraryFault::Unreadable, "");
  // Taken again from what was opened: the entry may have changed since.
  if (fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode) || status.st_size < 0) {
    close(descriptor);
    return fail_with(load, LibraryFault::NotRegularFile, not_regular_kind(status.st_mode));
  }
  ExecutableBytes bytes(static_cast<std::uint64_t>(status.st_size), read_at, &descriptor);
  const bool result = read(bytes, context);
  close(descriptor);
  return result;
}

bool library_entry_exists(const char* path) {
  struct stat status;
  return lstat(path, &status) == 0 || (errno != ENOENT && errno != ENOTDIR);
}

void* open_with_system_loader(LibraryLoad& load) {
  void* handle = dlopen(load.path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle != nullptr) return handle;
  const char* message = dlerror();
  fail_with(load, LibraryFault::Refused, message != nullptr ? message : "the dynamic linker gives no reason");
  return nullptr;
}

bool library_already_loaded(std::string_view name) {
  BoundedText<longest_table_name> bare;
  if (!bare.assign_whole(name)) return false;
  void* handle = dlopen(bare.c_str(), RTLD_LAZY | RTLD_LOCAL | RTLD_NOLOAD);
  if (handle == nullptr) return false;
  dlclose(handle);
  return true;
}

bool find_on_system_search(std::string_view name, PathText& found) {
  return for_each_search_directory([&](std::string_view directory) {
    struct stat status;
    found.assign(directory);
    if (!found.ends_with('/')) found.append('/');
    return found.append_whole(name) && lstat(found.c_str(), &status) == 0;
  });
}

bool system_finds_needed_library(std::string_view name) {
  PathText found;
  if (find_on_system_search(name, found)) return true;
  BoundedText<longest_table_name> bare;
  if (search_path_names_the_working_directory() || !bare.assign_whole(name)) return false;
  // Mapped and at once released again; its constructors run as they would
  // have for the library that needs it.
  void* handle = dlopen(bare.c_str(), RTLD_LAZY | RTLD_LOCAL);
  if (handle != nullptr) dlclose(handle);
  return handle != nullptr;
}

bool load_from_places_only_the_system_knows(const char* file, LibraryLoad& load) {
  if (search_path_names_the_working_directory()) return false;
  load.handle = dlopen(file, RTLD_NOW | RTLD_LOCAL);
  if (load.handle == nullptr) return false;
  link_map* loaded = nullptr;
  if (dlinfo(load.handle, RTLD_DI_LINKMAP, &loaded) == 0 && loaded != nullptr && loaded->l_name != nullptr)
    load.path.assign(loaded->l_name);
  return true;
}

unsigned program_machine() {
#if defined(__x86_64__)
  return machine_field::elf_x86_64;
#elif defined(__i386__)
  return machine_field::elf_x86;
#elif defined(__aarch64__)
  return machine_field::elf_arm64;
#else
  return 0;
#endif
}

ExecutableFormat program_format() { return ExecutableFormat::Elf; }

void keep_working_directory_out_of_library_search() {}

LibraryFunction library_function(const LibraryLoad& load, const char* name) {
  return reinterpret_cast<LibraryFunction>(dlsym(load.handle, name));
}

LibraryFunction stdcall_library_function(const LibraryLoad& load, const char* name, unsigned /*argument_bytes*/) {
  return library_function(load, name);
}

bool module_directory(const void* address, TextBuffer& directory) {
  PathText path;
  Dl_info info{};
  if (address == nullptr) {
    char link[path_capacity + 1];
    const ssize_t length = readlink("/proc/self/exe", link, sizeof link - 1);
    if (length <= 0 || !path.assign_whole(std::string_view(link, static_cast<std::size_t>(length)))) return false;
  } else if (dladdr(address, &info) == 0 || info.dli_fname == nullptr || !path.assign_whole(info.dli_fname)) {
    return false;
  }
  const std::size_t slash = path.view().rfind('/');
  if (slash == std::string_view::npos) return directory.assign_whole("./");
  return directory.assign_whole(path.view().substr(0, slash + 1));
}
