#include <dlfcn.h>

#include <cstdio>
#include <string_view>

#include "platform/library_loading.h"

namespace {

constexpr std::string_view not_opened_text = "cannot open shared object file";

// The bitness an ELF file's identification bytes give; 0 when the file is
// not an ELF file or cannot be read.
unsigned elf_bits(const char* path) {
  unsigned char ident[5];
  std::FILE* file = std::fopen(path, "rb");
  if (file == nullptr) return 0;
  const bool read = std::fread(ident, 1, sizeof ident, file) == sizeof ident;
  std::fclose(file);
  if (!read || ident[0] != 0x7f || ident[1] != 'E' || ident[2] != 'L' || ident[3] != 'F') return 0;
  return ident[4] == 1 ? 32 : ident[4] == 2 ? 64 : 0;
}

// The loader reports a library of the other class it found on its search by
// the class it found.
unsigned bits_named_by(std::string_view message) {
  if (message.find("wrong ELF class: ELFCLASS32") != std::string_view::npos) return 32;
  if (message.find("wrong ELF class: ELFCLASS64") != std::string_view::npos) return 64;
  return 0;
}

void tell_fault(const char* file_name, const PathText& beside, bool lies_beside, LoadedLibrary& library) {
  const std::string_view message = library.loader_message.view();
  const unsigned bits = lies_beside ? elf_bits(beside.c_str()) : bits_named_by(message);
  if (bits != 0 && bits != program_bits()) {
    library.fault = LibraryFault::OtherBitness;
    library.library_bits = bits;
    return;
  }
  // The loader's text starts with the name of the file it could not open:
  // the library itself, or one it needs.
  const std::string_view name = file_name;
  const bool not_opened = message.find(not_opened_text) != std::string_view::npos;
  const bool itself = !lies_beside && message.substr(0, name.size()) == name && message.substr(name.size(), 1) == ":";
  if (not_opened)
    library.fault = itself ? LibraryFault::NotFound : LibraryFault::NeededLibraryMissing;
  else
    library.fault = LibraryFault::Refused;
}

}  // namespace

void load_library(const char* file_name, LoadedLibrary& library) {
  PathText beside;
  const bool lies_beside = library_beside_executable(file_name, library, beside);
  library.handle = dlopen(lies_beside ? beside.c_str() : file_name, RTLD_NOW | RTLD_LOCAL);
  if (library.handle != nullptr) return;
  const char* message = dlerror();
  library.loader_message.assign(message == nullptr ? "" : message);
  tell_fault(file_name, beside, lies_beside, library);
}

LibraryFunction library_function(const LoadedLibrary& library, const char* name) {
  return reinterpret_cast<LibraryFunction>(dlsym(library.handle, name));
}

const PlatformFileNames& platform_file_names() {
  static constexpr PlatformFileNames names{"librfc32.so", "quenmarel", nullptr};
  return names;
}
