#include "output/console_routines.h"

#include <cstdio>

#include "driver/run_state.h"

void write_syslog_line(RunState& state, rfc_handle handle, const char* event, const char* detail) {
  if (!state.run_options.contains(",SYSLOG") || state.log_stream == nullptr) return;
  std::fprintf(state.log_stream, "%d %s %s\n", static_cast<int>(handle), event, detail);
  std::fflush(state.log_stream);
}

void print_field_line(RunState& state, const char* label, int indent, int width, const char* value) {
  std::fprintf(state.out, "%*.0s%-*s : %s\n", indent, "", width, label, value);
}
