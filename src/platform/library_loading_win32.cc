#include <windows.h>

#include <string_view>

#include "common/ascii.h"
#include "platform/library_loading.h"
#include "platform/library_system.h"
#include "platform/native_path_win32.h"

const char library_path_separator = '\\';

namespace {

// A path as the system's wide calls take it.
using WidePath = wchar_t[path_capacity + 1];

bool to_wide(std::string_view path, WidePath& wide) {
  return to_native_text(path, wide, static_cast<int>(path_capacity + 1));
}

bool from_wide(const wchar_t* wide, TextBuffer& path) {
  path.clear();
  return append_utf8(wide, path);
}

bool fail_with(LibraryLoad& load, LibraryFault fault, const char* detail) {
  load.fault = fault;
  load.detail.assign(detail);
  return false;
}

bool is_missing_code(DWORD code) {
  return code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND || code == ERROR_INVALID_NAME ||
         code == ERROR_BAD_PATHNAME;
}

// Why the file could not be opened: not there at all, a link that leads
// nowhere (its own entry is there), a loop of links, or no right to read it.
bool fail_to_open(const WidePath& wide, DWORD code, LibraryLoad& load) {
  if (code == ERROR_CANT_RESOLVE_FILENAME)
    return fail_with(load, LibraryFault::NotRegularFile, "a link in a loop of links");
  if (!is_missing_code(code)) return fail_with(load, LibraryFault::Unreadable, "");
  const DWORD attributes = GetFileAttributesW(wide);
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0)
    return fail_with(load, LibraryFault::NotRegularFile, "a link that leads to no file");
  return fail_with(load, LibraryFault::NotFound, "");
}

// What an opened entry is: a pipe (wine opens a FIFO without waiting, as a
// pipe), a device, a directory, or a regular file.
bool check_opened(HANDLE file, LibraryLoad& load) {
  const DWORD type = GetFileType(file);
  if (type == FILE_TYPE_PIPE) return fail_with(load, LibraryFault::NotRegularFile, "a FIFO, not a regular file");
  if (type == FILE_TYPE_CHAR) return fail_with(load, LibraryFault::NotRegularFile, "a device, not a regular file");
  BY_HANDLE_FILE_INFORMATION information{};
  if (type != FILE_TYPE_DISK || !GetFileInformationByHandle(file, &information))
    return fail_with(load, LibraryFault::NotRegularFile, "not a regular file");
  if ((information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
    return fail_with(load, LibraryFault::NotRegularFile, "a directory, not a regular file");
  return true;
}

bool read_at(void* context, std::uint64_t offset, unsigned char* bytes, std::size_t count) {
  HANDLE file = *static_cast<HANDLE*>(context);
  while (count > 0) {
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    DWORD got = 0;
    if (!ReadFile(file, bytes, static_cast<DWORD>(count), &got, &at) || got == 0) return false;
    bytes += got;
    offset += got;
    count -= got;
  }
  return true;
}

// The system's text of an error: one line, its inserts (such as "%1", the
// file's name) filled with `file`, never left as they stand.
void write_system_message(DWORD code, std::string_view file, TextBuffer& message) {
  char text[library_fault_detail_capacity + 1];
  DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, text,
                                sizeof text, nullptr);
  while (length > 0 &&
         (text[length - 1] == '\r' || text[length - 1] == '\n' || text[length - 1] == ' ' || text[length - 1] == '.'))
    --length;
  message.assignf("error %lu", static_cast<unsigned long>(code));
  if (length > 0) message.append(": ");
  for (DWORD at = 0; at < length; ++at) {
    if (text[at] == '%' && at + 1 < length && is_ascii_digit(text[at + 1])) {
      if (text[at + 1] == '1') message.append(file);
      ++at;
    } else {
      message.append(text[at] == '\r' || text[at] == '\n' ? ' ' : text[at]);
    }
  }
}

std::string_view file_name_of(const TextBuffer& path) {
  const std::size_t separator = path.view().find_last_of("\\/");
  return separator == std::string_view::npos ? path.view() : path.view().substr(separator + 1);
}

// A directory of PATH, taken only when it is a full path: a relative entry
// names a place below the working directory.
bool is_full_path(std::wstring_view directory) {
  const bool drive = directory.size() >= 3 && directory[1] == L':' && (directory[2] == L'\\' || directory[2] == L'/');
  return drive || (directory.size() >= 2 && directory[0] == L'\\' && directory[1] == L'\\');
}

bool candidate_in(std::wstring_view directory, std::string_view name, PathText& found) {
  wchar_t terminated[path_capacity + 1];
  if (directory.empty() || directory.size() >= path_capacity) return false;
  directory.copy(terminated, directory.size());
  terminated[directory.size()] = L'\0';
  if (!from_wide(terminated, found)) return false;
  if (!found.ends_with('\\') && !found.ends_with('/')) found.append('\\');
  return found.append_whole(name) && library_entry_exists(found.c_str());
}

bool candidate_in_path_variable(std::string_view name, PathText& found) {
  static wchar_t listed[32768];
  const DWORD length = GetEnvironmentVariableW(L"PATH", listed, sizeof listed / sizeof listed[0]);
  if (length == 0 || length >= sizeof listed / sizeof listed[0]) return false;
  const std::wstring_view entries(listed, length);
  for (std::size_t start = 0; start < entries.size();) {
    const std::size_t semicolon = entries.find(L';', start);
    const std::size_t stop = semicolon == std::wstring_view::npos ? entries.size() : semicolon;
    std::wstring_view directory = entries.substr(start, stop - start);
    if (directory.size() >= 2 && directory.front() == L'"' && directory.back() == L'"')
      directory = directory.substr(1, directory.size() - 2);
    if (is_full_path(directory) && candidate_in(directory, name, found)) return true;
    start = stop + 1;
  }
  return false;
}

}  // namespace

bool read_library_file(LibraryLoad& load, LibraryFileReading read, void* context) {
  WidePath wide;
  if (!to_wide(load.path.view(), wide)) return fail_with(load, LibraryFault::NotFound, "");
  HANDLE file = CreateFileW(wide, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file == INVALID_HANDLE_VALUE) return fail_to_open(wide, GetLastError(), load);
  LARGE_INTEGER size{};
  bool result = check_opened(file, load);
  if (result && (!GetFileSizeEx(file, &size) || size.QuadPart < 0))
    result = fail_with(load, LibraryFault::Unreadable, "");
  if (result) {
    ExecutableBytes bytes(static_cast<std::uint64_t>(size.QuadPart), read_at, &file);
    result = read(bytes, context);
  }
  CloseHandle(file);
  return result;
}

bool library_entry_exists(const char* path) {
  WidePath wide;
  if (!to_wide(path, wide)) return false;
  return GetFileAttributesW(wide) != INVALID_FILE_ATTRIBUTES || !is_missing_code(GetLastError());
}

void* open_with_system_loader(LibraryLoad& load) {
  WidePath wide;
  if (!to_wide(load.path.view(), wide)) {
    fail_with(load, LibraryFault::Refused, "its path is too long");
    return nullptr;
  }
  // No dialog box waits for a person when the library cannot be loaded; the
  // libraries it needs are looked for beside it first.
  const UINT previous_mode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  HMODULE library = LoadLibraryExW(wide, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  const DWORD code = GetLastError();
  SetErrorMode(previous_mode);
  if (library != nullptr) return library;
  if (code == ERROR_DLL_INIT_FAILED) {
    load.fault = LibraryFault::InitialisationFailed;
    load.detail.assignf("error %lu", static_cast<unsigned long>(code));
  } else {
    load.fault = LibraryFault::Refused;
    write_system_message(code, file_name_of(load.path), load.detail);
  }
  return nullptr;
}

bool library_already_loaded(std::string_view name) {
  // The API sets are names the system maps to its own libraries, no files.
  if (starts_with_ignoring_case(name, "api-ms-") || starts_with_ignoring_case(name, "ext-ms-")) return true;
  WidePath wide;
  return to_wide(name, wide) && GetModuleHandleW(wide) != nullptr;
}

bool find_on_system_search(std::string_view name, PathText& found) {
  wchar_t directory[MAX_PATH + 1];
  UINT length = GetSystemDirectoryW(directory, MAX_PATH);
  if (length > 0 && length < MAX_PATH && candidate_in(std::wstring_view(directory, length), name, found)) return true;
  length = GetWindowsDirectoryW(directory, MAX_PATH);
  if (length > 0 && length < MAX_PATH && candidate_in(std::wstring_view(directory, length), name, found)) return true;
  return candidate_in_path_variable(name, found);
}

bool system_finds_needed_library(std::string_view name) {
  PathText found;
  WidePath wide;
  if (find_on_system_search(name, found)) return true;
  if (!to_wide(name, wide)) return false;
  // As data: found the way the loader finds it, never run.
  const UINT previous_mode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  HMODULE library = LoadLibraryExW(wide, nullptr, LOAD_LIBRARY_AS_DATAFILE);
  SetErrorMode(previous_mode);
  if (library != nullptr) FreeLibrary(library);
  return library != nullptr;
}

bool load_from_places_only_the_system_knows(const char* /*file*/, LibraryLoad& /*load*/) { return false; }

unsigned program_machine() {
#if defined(__x86_64__)
  return machine_field::pe_x64;
#elif defined(__aarch64__)
  return machine_field::pe_arm64;
#else
  return machine_field::pe_x86;
#endif
}

ExecutableFormat program_format() { return ExecutableFormat::Pe; }

void keep_working_directory_out_of_library_search() {
  // SetDllDirectoryW(L"") is documented to take the working directory out,
  // but wine then keeps it; any directory given takes its place on both.
  // The system directory is on the search anyway, so nothing is added.
  wchar_t system_directory[MAX_PATH + 1];
  const UINT length = GetSystemDirectoryW(system_directory, MAX_PATH);
  if (length > 0 && length < MAX_PATH) SetDllDirectoryW(system_directory);
}

LibraryFunction library_function(const LibraryLoad& load, const char* name) {
  return reinterpret_cast<LibraryFunction>(GetProcAddress(static_cast<HMODULE>(load.handle), name));
}

LibraryFunction stdcall_library_function(const LibraryLoad& load, const char* name, unsigned argument_bytes) {
  LibraryFunction function = library_function(load, name);
  if (function != nullptr || sizeof(void*) != 4) return function;
  // A 32-bit library may export its stdcall functions under their decorated
  // names only, with or without the leading underscore.
  BoundedText<longest_table_name> decorated;
  decorated.assignf("_%s@%u", name, argument_bytes);
  function = library_function(load, decorated.c_str());
  return function != nullptr ? function : library_function(load, decorated.c_str() + 1);
}

bool module_directory(const void* address, TextBuffer& directory) {
  HMODULE module = nullptr;
  if (address != nullptr &&
      !GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                          static_cast<LPCWSTR>(address), &module))
    return false;
  WidePath wide;
  const DWORD length = GetModuleFileNameW(module, wide, path_capacity);
  PathText path;
  if (length == 0 || length >= path_capacity || !from_wide(wide, path)) return false;
  const std::size_t separator = path.view().find_last_of("\\/");
  if (separator == std::string_view::npos) return directory.assign_whole(".\\");
  return directory.assign_whole(path.view().substr(0, separator + 1));
}
