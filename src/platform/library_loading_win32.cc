#include <windows.h>

#include <cstdint>
#include <cstdio>

#include "platform/library_loading.h"

namespace {

constexpr std::uint32_t header_offset_position = 0x3c;
// Where a DOS stub may put the PE header; anything further is not a library.
constexpr std::uint32_t farthest_header_offset = 0x10000;
constexpr unsigned machine_x86 = 0x14c;
constexpr unsigned machine_x64 = 0x8664;

bool read_at(std::FILE* file, std::uint32_t offset, unsigned char* bytes, std::size_t count) {
  return seek_from_start(file, offset) && std::fread(bytes, 1, count, file) == count;
}

// The bitness the machine field of a PE file's header gives; 0 when the file
// is not one for x86 or x64 or cannot be read.
unsigned pe_bits(const char* path) {
  OwnedFile file(open_file_for_reading(path));
  unsigned char offset_bytes[4];
  if (file == nullptr || !read_at(file.get(), header_offset_position, offset_bytes, sizeof offset_bytes)) return 0;
  const std::uint32_t offset = offset_bytes[0] | offset_bytes[1] << 8 | offset_bytes[2] << 16 |
                               static_cast<std::uint32_t>(offset_bytes[3]) << 24;
  unsigned char header[6];
  if (offset > farthest_header_offset || !read_at(file.get(), offset, header, sizeof header)) return 0;
  if (header[0] != 'P' || header[1] != 'E' || header[2] != 0 || header[3] != 0) return 0;
  const unsigned machine = header[4] | header[5] << 8;
  return machine == machine_x86 ? 32 : machine == machine_x64 ? 64 : 0;
}

void write_loader_message(DWORD code, LoadedLibrary& library) {
  char text[loader_message_capacity + 1];
  DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, text,
                                sizeof text, nullptr);
  while (length > 0 &&
         (text[length - 1] == '\r' || text[length - 1] == '\n' || text[length - 1] == ' ' || text[length - 1] == '.'))
    --length;
  library.loader_message.assignf("error %lu", static_cast<unsigned long>(code));
  if (length > 0) library.loader_message.appendf(": %.*s", static_cast<int>(length), text);
}

void tell_fault(DWORD code, const char* found, LoadedLibrary& library) {
  // Both the other bitness and a damaged file give this code; the file's own
  // header tells them apart.
  const unsigned bits = code == ERROR_BAD_EXE_FORMAT && found != nullptr ? pe_bits(found) : 0;
  if (bits != 0 && bits != program_bits()) {
    library.fault = LibraryFault::OtherBitness;
    library.library_bits = bits;
  } else if (code == ERROR_MOD_NOT_FOUND) {
    // The same code when the library itself or one it needs is missing.
    library.fault = found != nullptr ? LibraryFault::NeededLibraryMissing : LibraryFault::NotFound;
  } else {
    library.fault = LibraryFault::Refused;
  }
}

}  // namespace

void load_library(const char* file_name, LoadedLibrary& library) {
  PathText beside;
  const bool lies_beside = library_beside_executable(file_name, library, beside);
  // No dialog box waits for a person when the library cannot be loaded; its
  // own libraries are looked for beside it first.
  const UINT previous_mode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  library.handle =
      lies_beside ? LoadLibraryExA(beside.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH) : LoadLibraryA(file_name);
  const DWORD code = GetLastError();
  SetErrorMode(previous_mode);
  if (library.handle != nullptr) return;
  write_loader_message(code, library);
  char searched[MAX_PATH];
  const DWORD length = lies_beside ? 0 : SearchPathA(nullptr, file_name, nullptr, sizeof searched, searched, nullptr);
  const char* found = lies_beside ? beside.c_str() : length > 0 && length < sizeof searched ? searched : nullptr;
  tell_fault(code, found, library);
}

LibraryFunction library_function(const LoadedLibrary& library, const char* name) {
  return reinterpret_cast<LibraryFunction>(GetProcAddress(static_cast<HMODULE>(library.handle), name));
}

const PlatformFileNames& platform_file_names() {
  static constexpr PlatformFileNames names{"LIBRFC32.dll", "quenmarel.exe", "windows"};
  return names;
}
