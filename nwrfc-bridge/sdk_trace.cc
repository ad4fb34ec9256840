#include "sdk_trace.h"

#include <cstdio>
#include <cstdlib>

#include "common/bounded_text.h"
#include "library_loader.h"

const char* const sdk_trace_directory = "nwrfc-trace";

namespace {

/// The highest level the library knows (full).
constexpr unsigned highest_trace_level = 3;

/// The bridge's own file in the trace directory.
constexpr const char* bridge_trace_file = "nwrfc-trace/bridge.trc";

unsigned trace_level_asked_for() { return requested_trace_level(std::getenv("RFC_TRACE")); }

}  // namespace

unsigned requested_trace_level(const char* setting) {
  if (setting == nullptr || setting[0] == '\0') return 0;
  if (setting[0] < '0' || setting[0] > '9') return 1;
  const unsigned digit = static_cast<unsigned>(setting[0] - '0');
  if (digit == 0 && setting[1] != '\0') return 1;
  return digit < highest_trace_level ? digit : highest_trace_level;
}

void direct_sdk_trace(RfcSetTraceDir_function set_trace_dir, RfcSetTraceLevel_function set_trace_level) {
  RFC_ERROR_INFO ignored{};
  if (set_trace_dir != nullptr && make_directory(sdk_trace_directory)) {
    SAP_UC directory[] = u"nwrfc-trace";
    set_trace_dir(directory, &ignored);
  }
  // Set even at 0: the level overrides RFC_TRACE, which the library would
  // otherwise read on its own.
  if (set_trace_level != nullptr) set_trace_level(nullptr, nullptr, trace_level_asked_for(), &ignored);
}

void write_bridge_trace_line(std::string_view text) {
  if (trace_level_asked_for() == 0 || !make_directory(sdk_trace_directory)) return;
  std::FILE* file = std::fopen(bridge_trace_file, "ab");
  if (file == nullptr) return;
  BoundedText<4095> line(text);
  line.replace_all('\n', ' ');
  line.append("\n");
  std::fwrite(line.c_str(), 1, line.size(), file);
  std::fclose(file);
}
