#include "sdk_trace.h"

#include <cstdio>
#include <cstdlib>

#include "common/bounded_text.h"
#include "library_loader.h"
#include "utf16_text.h"

namespace {

/// The directory, in the working directory, of the library's trace files and
/// of the bridge's own.
constexpr const char* sdk_trace_directory = "nwrfc-trace";

/// The highest level the library knows (full).
constexpr unsigned highest_trace_level = 3;

/// The bridge's own file in the trace directory.
constexpr const char* bridge_trace_file = "bridge.trc";

// The level RFC_TRACE asks for: its leading digit (at most the highest), 1
// for any other value but "0", 0 when it is unset or empty.
unsigned trace_level_asked_for() {
  const char* setting = std::getenv("RFC_TRACE");
  if (setting == nullptr || setting[0] == '\0') return 0;
  if (setting[0] < '0' || setting[0] > '9') return 1;
  const unsigned digit = static_cast<unsigned>(setting[0] - '0');
  if (digit == 0 && setting[1] != '\0') return 1;
  return digit < highest_trace_level ? digit : highest_trace_level;
}

}  // namespace

void direct_sdk_trace(RfcSetTraceDir_function set_trace_dir, RfcSetTraceLevel_function set_trace_level) {
  RFC_ERROR_INFO ignored{};
  Utf16Text<63> directory;
  // The library takes the directory without const, and only reads it.
  if (set_trace_dir != nullptr && make_directory(sdk_trace_directory) &&
      utf16_from_eight_bit(sdk_trace_directory, directory))
    set_trace_dir(const_cast<SAP_UC*>(directory.c_str()), &ignored);
  // Set even at 0: the level overrides RFC_TRACE, which the library would
  // otherwise read on its own.
  if (set_trace_level != nullptr) set_trace_level(nullptr, nullptr, trace_level_asked_for(), &ignored);
}

void write_bridge_trace_line(std::string_view text) {
  if (trace_level_asked_for() == 0 || !make_directory(sdk_trace_directory)) return;
  BoundedText<63> path(sdk_trace_directory);
  path.append('/');
  path.append(bridge_trace_file);
  std::FILE* file = std::fopen(path.c_str(), "ab");
  if (file == nullptr) return;
  BoundedText<4095> line(text);
  line.replace_all('\n', ' ');
  line.append("\n");
  std::fwrite(line.c_str(), 1, line.size(), file);
  std::fclose(file);
}
