#include "output/console_routines.h"

void write_syslog_line(const OutputStreams& streams, rfc_handle handle, const char* event, const char* detail) {
  if (!streams.syslog_allowed || streams.log_stream == nullptr) return;
  std::fprintf(streams.log_stream, "%d %s %s\n", static_cast<int>(handle), event, detail);
  std::fflush(streams.log_stream);
}

void print_field_line(std::FILE* out, const char* label, int indent, int width, const char* value) {
  std::fprintf(out, "%*.0s%-*s : %s\n", indent, "", width, label, value);
}
