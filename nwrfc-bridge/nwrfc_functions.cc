#include "nwrfc_functions.h"

#include "common/bounded_text.h"
#include "error_report.h"
#include "library_loader.h"
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
bool look_up(LoadedLibrary library, const char* name, unsigned argument_bytes, Function* function,
             TextBuffer& missing) {
  *function = reinterpret_cast<Function>(library_function(library, name, argument_bytes));
  if (*function == nullptr && missing.empty()) missing.assign(name);
  return *function != nullptr;
}

bool look_up_all(LoadedLibrary library, NwrfcFunctions& functions, TextBuffer& missing) {
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
void direct_library_trace(LoadedLibrary library) {
  BoundedText<63> ignored;
  RfcSetTraceDir_function set_trace_dir = nullptr;
  RfcSetTraceLevel_function set_trace_level = nullptr;
  look_up(library, "RfcSetTraceDir", 8, &set_trace_dir, ignored);
  look_up(library, "RfcSetTraceLevel", 16, &set_trace_level, ignored);
  direct_sdk_trace(set_trace_dir, set_trace_level);
}

// One line that says which library answers, for an administrator who asked
// for a trace; it goes to the trace directory, which a successful run keeps.
void trace_library_version(LoadedLibrary library, const NwrfcFunctions& functions) {
  unsigned major = 0, minor = 0, patch_level = 0;
  const SAP_UC* version = functions.get_version(&major, &minor, &patch_level);
  BoundedText<255> version_text;
  if (version != nullptr) utf8_from_utf16(version, 255, version_text);
  BoundedText<4095> path;
  if (!library_path(library, reinterpret_cast<void*>(functions.open_connection), path)) path.assign("(unknown path)");
  MessageText line;
  line.assignf("NetWeaver RFC library %u.%u.%u (%s) from %s", major, minor, patch_level, version_text.c_str(),
               path.c_str());
  write_bridge_trace_line(line.view());
}

LoadedLibrary load(const char* function) {
  BoundedText<4095> directory;
  const bool directory_known = bridge_directory(directory);
  MessageText message;
  if (directory_known && library_file_exists(directory.c_str(), nwrfc_library_file)) {
    LoadedLibrary library = load_library_from(directory.c_str(), nwrfc_library_file, message);
    if (library != nullptr) return library;
    report_error(function, key_resource, "NetWeaver RFC library not loaded", message.view());
    return nullptr;
  }
  LoadedLibrary library = load_library_from_search_path(nwrfc_library_file);
  if (library != nullptr) return library;
  message.assignf("%s not found in %s nor loadable from %s", nwrfc_library_file,
                  directory_known ? directory.c_str() : "the bridge's directory", library_search_path_name);
  report_error(function, key_resource, "NetWeaver RFC library not found", message.view());
  return nullptr;
}

}  // namespace

const NwrfcFunctions* nwrfc_functions(const char* function) {
  if (loaded) return &loaded_functions;
  LoadedLibrary library = load(function);
  if (library == nullptr) return nullptr;
  BoundedText<63> missing;
  if (!look_up_all(library, loaded_functions, missing)) {
    BoundedText<4095> path;
    if (!library_path(library, library_function(library, "RfcGetVersion", 12), path)) path.assign(nwrfc_library_file);
    MessageText message;
    message.assignf("%s lacks the function %s", path.c_str(), missing.c_str());
    report_error(function, key_resource, "NetWeaver RFC library not usable", message.view());
    return nullptr;
  }
  loaded = true;
  direct_library_trace(library);
  trace_library_version(library, loaded_functions);
  return &loaded_functions;
}
