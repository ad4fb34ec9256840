// Where the run's lines go besides the result document, and two small writers.
#pragma once

#include <cstdio>

#include "rfc_library.h"

/// The run's streams.
struct OutputStreams {
  /// Standard output, except in tests.
  std::FILE* out = stdout;
  /// Trace line stream; never opened, so trace lines go nowhere.
  std::FILE* log_stream = nullptr;
  /// Whether the option text in force allows trace lines (",SYSLOG").
  bool syslog_allowed = false;
};

/// Writes "handle event detail" to the log stream when trace lines are
/// allowed and a log stream is open; otherwise does nothing.
void write_syslog_line(const OutputStreams& streams, rfc_handle handle, const char* event, const char* detail);

/// Prints `indent` blanks, the label left-aligned in `width` columns, " : ",
/// the value and a line feed.
void print_field_line(std::FILE* out, const char* label, int indent, int width, const char* value);
