// Two small writers outside the result document.
#pragma once

#include <string_view>

#include "rfc_library.h"

struct RunState;

/// Writes "handle event detail" to the log stream when the options hold
/// ",SYSLOG" and a log stream is open; otherwise does nothing.
void write_syslog_line(RunState& state, rfc_handle handle, const char* event, const char* detail);

/// Prints `indent` blanks, the label left-aligned in `width` columns, " : ",
/// the value and a line feed.
void print_field_line(RunState& state, const char* label, int indent, int width, const char* value);
