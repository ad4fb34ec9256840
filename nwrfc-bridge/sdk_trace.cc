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

/// The bridge's own file in it, written when RFC_TRACE asks for tracing.
constexpr const char* bridge_trace_file = "bridge.trc";

/// The files written in it: the bridge's own, and the library's file of
/// severe errors, which it writes at every level.
constexpr const char* trace_directory_files[] = {bridge_trace_file, "dev_rfc.trc"};

/// The highest level the library knows (full).
constexpr unsigned highest_trace_level = 3;

/// What the trace directory is to this process, decided when the library is
/// loaded: usable; unavailable (not looked at, or it could not be made), when
/// the library keeps its own default; or refused, when the library's trace
/// is off.
enum class TraceDirectory { Usable, Unavailable, Refused };

TraceDirectory trace_directory = TraceDirectory::Unavailable;

/// A line of Dev_Rfc.Trc on what stands where the trace directory should be.
using RefusalText = BoundedText<255>;

/// A file's path in the trace directory, as the platform's calls take it.
using TraceFilePath = BoundedText<63>;

void form_trace_file_path(const char* file, TraceFilePath& path) {
  path.assign(sdk_trace_directory);
  path.append('\\');
  path.append(file);
}

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

TraceDirectory refuse_trace_directory(std::string_view what) {
  RefusalText line(what);
  line.append("; the NetWeaver RFC library's trace is off for this run");
  write_trace_line(line.view());
  return TraceDirectory::Refused;
}

TraceDirectory trace_directory_files_checked() {
  for (const char* file : trace_directory_files) {
    TraceFilePath path;
    form_trace_file_path(file, path);
    if (directory_entry_kind(path.c_str()) != EntryKind::Other) continue;
    RefusalText what(file);
    what.append(" in the trace directory ");
    what.append(sdk_trace_directory);
    what.append(" is not a regular file (a link is never followed)");
    return refuse_trace_directory(what.view());
  }
  return TraceDirectory::Usable;
}

// Through a link, in place of the directory or of a file the library or the
// bridge writes there, anyone who can write in the working directory could
// have the traces written wherever the process may write: so the directory
// is used only when it is a directory of its own and those files are
// regular files or missing.  A directory that cannot be made is no one's
// doing; the library then keeps its default, as without the trace functions,
// at the level asked for.
TraceDirectory checked_trace_directory() {
  RefusalText what("the trace directory ");
  what.append(sdk_trace_directory);
  switch (make_own_directory(sdk_trace_directory)) {
    case OwnDirectory::Ready:
      return trace_directory_files_checked();
    case OwnDirectory::Link:
      what.append(" is a link, which is never followed");
      return refuse_trace_directory(what.view());
    case OwnDirectory::NotADirectory:
      what.append(" is not a directory");
      return refuse_trace_directory(what.view());
    case OwnDirectory::NotMade:
      break;
  }
  return TraceDirectory::Unavailable;
}

}  // namespace

void direct_sdk_trace(RfcSetTraceDir_function set_trace_dir, RfcSetTraceLevel_function set_trace_level) {
  RFC_ERROR_INFO ignored{};
  // Looked at only when something would be written there.
  if (set_trace_dir != nullptr || trace_level_asked_for() > 0) trace_directory = checked_trace_directory();
  const bool usable = trace_directory == TraceDirectory::Usable;
  Utf16Text<63> directory;
  // The library takes the directory without const, and only reads it.
  if (set_trace_dir != nullptr && usable && utf16_from_eight_bit(sdk_trace_directory, directory))
    set_trace_dir(const_cast<SAP_UC*>(directory.c_str()), &ignored);
  // Set even at 0: the level overrides RFC_TRACE, which the library would
  // otherwise read on its own.
  const unsigned level = trace_directory == TraceDirectory::Refused ? 0 : trace_level_asked_for();
  if (set_trace_level != nullptr) set_trace_level(nullptr, nullptr, level, &ignored);
}

void write_bridge_trace_line(std::string_view text) {
  if (trace_level_asked_for() == 0 || trace_directory != TraceDirectory::Usable) return;
  BoundedText<4095> line(text);
  line.replace_all('\n', ' ');
  line.append("\n");
  TraceFilePath path;
  form_trace_file_path(bridge_trace_file, path);
  append_in_one_piece(path.c_str(), line.view());
}
