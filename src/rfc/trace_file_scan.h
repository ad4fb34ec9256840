// The RFC library's own word on a failure, from its trace file.
#pragma once

#include <cstdint>

#include "common/bounded_text.h"
#include "platform/run_presence.h"

/// Where this run's part of the trace file begins: the library appends, so
/// whatever it writes for this run's connection lies behind this offset.
struct TraceWindow {
  /// The offset in bytes of the trace file's first byte that belongs to this run.
  std::uint64_t start = 0;
};

/// Marks the trace file's present end as the start of this run's part (0 when
/// there is no trace file yet); taken right before the connection is opened.
TraceWindow start_trace_window();

/// Appends to `message` " - " and the last error text in this run's part of
/// the library's trace file (a SAProuter route in it without its
/// passwords), or a hint to look at that file when it holds
/// none or cannot be opened.  When other runs may have written into the part
/// since this one joined `presence`, only a text that the library also gives
/// as this process's last error counts, so that a run never reports another
/// run's failure.
void scan_rfc_trace_file(TextBuffer& message, const TraceWindow& window, const RunPresence& presence);
