#include "rfc/rfc_library_binding.h"

#include "common/rfc_names.h"
#include "platform/installation_names.h"
#include "platform/library_loading.h"
#include "rfc_library.h"

namespace {

LibraryFunction rfc_functions[rfc_function_count];

template <typename Function>
Function rfc_function(RfcFunction index) {
  return reinterpret_cast<Function>(rfc_functions[index]);
}

void write_remedy(const InstallationNames& names, TextBuffer& failure) {
  failure.appendf(": put the vendor's %s (or the NetWeaver RFC bridge) beside %s", names.rfc_library, names.program);
}

void write_other_bitness(const LibraryLoad& library, const InstallationNames& names, TextBuffer& failure) {
  failure.assignf("%s is a %u-bit library and this %s is %u-bit: ", names.rfc_library, library.library_bits,
                  names.program, program_bits());
  BoundedText<63> package;
  if (write_package_name(native_installation_system(), library.library_bits, package))
    failure.appendf("use %s", package.c_str());
  else
    failure.appendf("put a %u-bit %s beside it", program_bits(), names.rfc_library);
}

// A library the RFC library needs is missing, or lies beside it unusable.
void write_needed_fault(const LibraryLoad& library, const InstallationNames& names, TextBuffer& failure) {
  if (library.fault == LibraryFault::NotFound) {
    failure.assignf("%s cannot be loaded, a library it needs is missing (%s): put that library %s", names.rfc_library,
                    library.needed.c_str(), names.needed_library_place);
    return;
  }
  BoundedText<library_fault_detail_capacity + 63> fault;
  write_library_fault(library, fault);
  failure.assignf("%s cannot be loaded: %s, which it needs, %s: put a usable %s %s", names.rfc_library,
                  library.needed.c_str(), fault.c_str(), library.needed.c_str(), names.needed_library_place);
}

// What is wrong with the file of the library's name where it was found: the
// file there is the verdict, no other copy is tried.
void write_file_fault(const LibraryLoad& library, const InstallationNames& names, TextBuffer& failure) {
  PathText directory;
  write_library_directory(library, directory);
  BoundedText<library_fault_detail_capacity + 63> fault;
  write_library_fault(library, fault);
  failure.assignf("%s in %s %s", names.rfc_library, directory.c_str(), fault.c_str());
  if (library.fault == LibraryFault::Unreadable)
    failure.append(": give the account the sensor runs under the right to read it");
  else
    write_remedy(names, failure);
}

void write_load_failure(const LibraryLoad& library, const PathText& first_directory, TextBuffer& failure) {
  const InstallationNames& names = installation_names(native_installation_system());
  if (!library.needed.empty()) {
    write_needed_fault(library, names, failure);
    return;
  }
  switch (library.fault) {
    case LibraryFault::OtherBitness:
      write_other_bitness(library, names, failure);
      return;
    case LibraryFault::NotFound:
      failure.assignf("%s not found in %s nor on the system's search path", names.rfc_library, first_directory.c_str());
      write_remedy(names, failure);
      return;
    case LibraryFault::NotRegularFile:
    case LibraryFault::Unreadable:
    case LibraryFault::Damaged:
      write_file_fault(library, names, failure);
      return;
    case LibraryFault::InitialisationFailed:
      failure.assignf("%s cannot be loaded, its initialisation failed (%s)", names.rfc_library, library.detail.c_str());
      write_remedy(names, failure);
      return;
    case LibraryFault::None:
    case LibraryFault::Refused:
      failure.assignf("%s cannot be loaded (%s)", names.rfc_library, library.detail.c_str());
      write_remedy(names, failure);
      return;
  }
}

bool find_rfc_functions(const LibraryLoad& library, TextBuffer& failure) {
  for (std::size_t index = 0; index < rfc_function_count; ++index) {
    rfc_functions[index] = library_function(library, rfc_function_names[index]);
    if (rfc_functions[index] != nullptr) continue;
    const InstallationNames& names = installation_names(native_installation_system());
    failure.assignf("%s has no function %s", names.rfc_library, rfc_function_names[index]);
    write_remedy(names, failure);
    return false;
  }
  return true;
}

// Beside the sensor first; only when no file of its name lies there, through
// the system's search.
void load_beside_or_searched(const PathText& directory, LibraryLoad& library) {
  const char* file = installation_names(native_installation_system()).rfc_library;
  if (!directory.empty()) load_library_from(directory.c_str(), file, library);
  if (directory.empty() || (library.fault == LibraryFault::NotFound && library.needed.empty()))
    load_library_from_search(file, library);
}

}  // namespace

bool load_rfc_library(TextBuffer& failure) {
  static LibraryLoad library;
  static bool usable = false;
  if (usable) return true;
  PathText directory;
  if (!module_directory(nullptr, directory)) directory.clear();
  load_beside_or_searched(directory, library);
  if (library.handle == nullptr) {
    write_load_failure(library, directory, failure);
    return false;
  }
  usable = find_rfc_functions(library, failure);
  return usable;
}

void RFC_CALL RfcEnvironment(rfc_environment_record* record) {
  rfc_function<decltype(&RfcEnvironment)>(rfc_environment)(record);
}

rfc_handle RFC_CALL RfcOpen(rfc_logon_options_record* options) {
  return rfc_function<decltype(&RfcOpen)>(rfc_open)(options);
}

rfc_handle RFC_CALL RfcOpenEx(const char* connect_string, rfc_open_error_details* details) {
  return rfc_function<decltype(&RfcOpenEx)>(rfc_open_ex)(connect_string, details);
}

rfc_result_code RFC_CALL RfcCall(rfc_handle handle, const char* function, rfc_parameter* sending,
                                 rfc_table_entry* tables) {
  return rfc_function<decltype(&RfcCall)>(rfc_call)(handle, function, sending, tables);
}

rfc_result_code RFC_CALL RfcReceive(rfc_handle handle, rfc_parameter* receiving, rfc_table_entry* tables,
                                    char** exception) {
  return rfc_function<decltype(&RfcReceive)>(rfc_receive)(handle, receiving, tables, exception);
}

int RFC_CALL RfcLastError(rfc_error_info* error) {
  return rfc_function<decltype(&RfcLastError)>(rfc_last_error)(error);
}

void RFC_CALL RfcClose(rfc_handle handle) { rfc_function<decltype(&RfcClose)>(rfc_close)(handle); }
