#include "sdk_trace.h"

#include <cstdlib>

#include "common/bounded_text.h"
#include "platform/directories.h"
#include "platform/files.h"
#include "platform/trace_file.h"
#include "utf16_text.h"

namespace {

/// The directory, in the working directory, of the library's trace files and
/// of the bridge's own.
constexpr const char* sdk_trace_directory = "nwrfc-trace";

/// The files written in it whatever the level: the bridge's own, when
/// RFC_TRACE asks for tracing, and the library's file of severe errors.
constexpr const char* trace_directory_files[] = {"bridge.trc", "dev_rfc.trc"};

/// The bridge's own file, as the platform's calls take it.
constexpr const char* bridge_trace_path = "nwrfc-trace\\bridge.trc";

/// The highest level the library knows (full).
constexpr unsigned highest_trace_level = 3;

/// Whether the trace directory may be written in by this process; decided
/// when the library is loaded.
bool trace_directory_usable = false;

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

bool refuse_trace_directory(std::string_view what) {
  BoundedText<255> line(what);
  line.append("; the NetWeaver RFC library's trace is off for this run");
  write_trace_line(line.view());
  return false;
}

bool trace_directory_files_regular() {
  for (const char* file : trace_directory_files) {
    BoundedText<63> path(sdk_trace_directory);
    path.append('\\');
    path.append(file);
    if (directory_entry_kind(path.c_str()) != EntryKind::Other) continue;
    BoundedText<127> what(file);
    what.append(" in the trace directory ");
    what.append(sdk_trace_directory);
    what.append(" is not a regular file (a link is never followed)");
    return refuse_trace_directory(what.view());
  }
  return true;
}

// Through a link, in place of the directory or of a file the library or the
// bridge writes there, anyone who can write in the working directory could
// have the traces written wherever the process may write: so the directory
// is used only when it is a directory of its own and those files are
// regular files or missing.  A directory that cannot be made is no one's
// doing; the library then keeps its default, as without the trace functions.
bool trace_directory_ready() {
  BoundedText<127> what("the trace directory ");
  what.append(sdk_trace_directory);
  switch (make_own_directory(sdk_trace_directory)) {
    case OwnDirectory::Ready:
      return trace_directory_files_regular();
    case OwnDirectory::Link:
      what.append(" is a link, which is never followed");
      return refuse_trace_directory(what.view());
    case OwnDirectory::NotADirectory:
      what.append(" is not a directory");
      return refuse_trace_directory(what.view());
    case OwnDirectory::NotMade:
      break;
  }
  return false;
}

}  // namespace

void direct_sdk_trace(RfcSetTraceDir_function set_trace_dir, RfcSetTraceLevel_function set_trace_level) {
  RFC_ERROR_INFO ignored{};
  // Looked at only when something would be written there.
  trace_directory_usable = (set_trace_dir != nullptr || trace_level_asked_for() > 0) && trace_directory_ready();
  Utf16Text<63> directory;
  // The library takes the directory without const, and only reads it.
  if (set_trace_dir != nullptr && trace_directory_usable && utf16_from_eight_bit(sdk_trace_directory, directory))
    set_trace_dir(const_cast<SAP_UC*>(directory.c_str()), &ignored);
  // Set even at 0: the level overrides RFC_TRACE, which the library would
  // otherwise read on its own.
  const unsigned level = trace_directory_usable ? trace_level_asked_for() : 0;
  if (set_trace_level != nullptr) set_trace_level(nullptr, nullptr, level, &ignored);
}

void write_bridge_trace_line(std::string_view text) {
  if (trace_level_asked_for() == 0 || !trace_directory_usable) return;
  BoundedText<4095> line(text);
  line.replace_all('\n', ' ');
  line.append("\n");
  append_in_one_piece(bridge_trace_path, line.view());
}
