#include "nwrfc_functions.h"

#include "common/bounded_text.h"
#include "error_report.h"
#include "library_loader.h"
#include "nwrfc_library_chain.h"
#include "platform/library_loading.h"
#include "platform/trace_file.h"
#include "sdk_trace.h"
#include "utf16_text.h"

namespace {

using MessageText = BoundedText<4095>;

NwrfcFunctions loaded_functions{};
bool loaded = false;

// Looked up by its plain name, on 32-bit Windows also by its decorated one
// (`argument_bytes`): which of them a vendor's 32-bit library exports is not
// known.
template <typename Function>
bool look_up(const LibraryLoad& library, const char* name, unsigned argument_bytes, Function* function,
             TextBuffer& missing) {
  *function = reinterpret_cast<Function>(stdcall_library_function(library, name, argument_bytes));
  if (*function == nullptr && missing.empty()) missing.assign(name);
  return *function != nullptr;
}

bool look_up_all(const LibraryLoad& library, NwrfcFunctions& functions, TextBuffer& missing) {
  // Each looked up even after one is missing, so the message names the first.
  bool all = look_up(library, "RfcOpenConnection", 12, &functions.open_connection, missing);
  all &= look_up(library, "RfcCloseConnection", 8, &functions.close_connection, missing);
  all &= look_up(library, "RfcGetFunctionDesc", 12, &functions.get_function_desc, missing);
  all &= look_up(library, "RfcCreateFunction", 8, &functions.create_function, missing);
  all &= look_up(library, "RfcInvoke", 12, &functions.invoke, missing);
  all &= look_up(library, "RfcGetInt", 16, &functions.get_int, missing);
  all &= look_up(library, "RfcDestroyFunction", 8, &functions.destroy_function, missing);
  all &= look_up(library, "RfcGetVersion", 12, &functions.get_version, missing);
  return all;
}

// The trace functions are optional: without them the library keeps its own
// trace directory and level.
void direct_library_trace(const LibraryLoad& library) {
  BoundedText<63> ignored;
  RfcSetTraceDir_function set_trace_dir = nullptr;
  RfcSetTraceLevel_function set_trace_level = nullptr;
  look_up(library, "RfcSetTraceDir", 8, &set_trace_dir, ignored);
  look_up(library, "RfcSetTraceLevel", 16, &set_trace_level, ignored);
  direct_sdk_trace(set_trace_dir, set_trace_level);
}

// One line that says which library answers, for an administrator who asked
// for a trace; it goes to the trace directory, which a successful run keeps.
void trace_library_version(const LibraryLoad& library, const NwrfcFunctions& functions) {
  unsigned major = 0, minor = 0, patch_level = 0;
  const SAP_UC* version = functions.get_version(&major, &minor, &patch_level);
  BoundedText<255> version_text;
  if (version != nullptr) utf8_from_utf16(version, 255, version_text);
  MessageText line;
  line.assignf("NetWeaver RFC library %u.%u.%u (%s) from %s", major, minor, patch_level, version_text.c_str(),
               library.path.c_str());
  write_bridge_trace_line(line.view());
}

// Why the library, or a library of the SDK's chain it needs, cannot be used.
void report_unusable(const char* function, const char* directory, const LibraryLoad& library) {
  BoundedText<library_fault_detail_capacity + 63> fault;
  write_library_fault(library, fault);
  if (library.fault == LibraryFault::OtherBitness) fault.appendf("; this bridge is %u-bit", program_bits());
  PathText place;
  write_library_directory(library, place);
  MessageText message;
  if (library.needed.empty())
    message.assignf("%s in %s could not be loaded: it %s", nwrfc_library_file, place.c_str(), fault.c_str());
  else
    message.assignf("%s in %s could not be loaded: %s, which it needs, %s", nwrfc_library_file, directory,
                    library.needed.c_str(), fault.c_str());
  report_error(function, key_resource, "NetWeaver RFC library not loaded", message.view());
}

void report_not_found(const char* function, const char* directory, bool directory_known) {
  MessageText message;
  message.assignf("%s not found in %s", nwrfc_library_file, directory_known ? directory : "the bridge's directory");
  if (library_search_path_name != nullptr) message.appendf(" nor loadable from %s", library_search_path_name);
  report_error(function, key_resource, "NetWeaver RFC library not found", message.view());
}

// The library beside the bridge, with its chain; where the system allows it
// and there is none beside it, the one the system's search finds.
bool load(const char* function, LibraryLoad& library) {
  PathText directory;
  const bool directory_known = module_directory(reinterpret_cast<const void*>(&nwrfc_functions), directory);
  library = LibraryLoad();
  library.fault = LibraryFault::NotFound;
  if (directory_known && load_nwrfc_library_chain(directory.c_str(), nwrfc_library_file, library)) return true;
  const bool beside = directory_known && (library.fault != LibraryFault::NotFound || !library.needed.empty());
  if (!beside && library_search_path_name != nullptr) load_library_from_search(nwrfc_library_file, library);
  if (library.handle != nullptr) return true;
  if (library.fault == LibraryFault::NotFound && library.needed.empty())
    report_not_found(function, directory.c_str(), directory_known);
  else
    report_unusable(function, directory.c_str(), library);
  return false;
}

}  // namespace

const NwrfcFunctions* nwrfc_functions(const char* function) {
  if (loaded) return &loaded_functions;
  // The library stays loaded for the rest of the process.
  static LibraryLoad library;
  if (!load(function, library)) return nullptr;
  BoundedText<63> missing;
  if (!look_up_all(library, loaded_functions, missing)) {
    MessageText message;
    message.assignf("%s lacks the function %s", library.path.c_str(), missing.c_str());
    report_error(function, key_resource, "NetWeaver RFC library not usable", message.view());
    return nullptr;
  }
  loaded = true;
  direct_library_trace(library);
  trace_library_version(library, loaded_functions);
  return &loaded_functions;
}
