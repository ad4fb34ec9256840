#include "driver/console_lines.h"

#include "common/program_version.h"
#include "common/saprouter_route.h"
#include "common/text_characters.h"

void print_line(std::FILE* out, std::string_view text) {
  std::fwrite(text.data(), 1, text.size(), out);
  std::fputc('\n', out);
}

void build_system_status_line(TextBuffer& status_line, const TimeOfDay& now, const TextBuffer& name,
                              const SystemEntry& entry) {
  // The values come from a profile and may carry any byte; none may break the line.
  ConsoleLine host;
  append_without_route_passwords(host, entry.display_hostname.view());
  ConsoleLine formed;
  formed.assignf("* %s %s, %s, %s, %s, %s", now.c_str(), name.c_str(), host.c_str(), entry.destination.c_str(),
                 entry.sysnr.c_str(), entry.client.c_str());
  status_line.clear();
  append_single_line(status_line, formed.view());
}

ConsoleLine shown_option_text(std::string_view options) {
  ConsoleLine shown;
  append_without_route_passwords(shown, options);
  return shown;
}

void print_processed_line(std::FILE* out) {
  TimeOfDay now;
  local_time_of_day(now);
  ConsoleLine line;
  line.assignf("\n* %s SAP %s now processed...", now.c_str(), program_name);
  print_line(out, line.view());
}
