#include "driver/console_lines.h"

#include <cstdio>

#include "driver/run_state.h"
#include "driver/sensor_run.h"
#include "platform/process.h"

void print_line(RunState& state, std::string_view text) {
  std::fwrite(text.data(), 1, text.size(), state.out);
  std::fputc('\n', state.out);
}

void build_system_status_line(RunState& state, const TextBuffer& name, const TextBuffer& now) {
  const SystemEntry& entry = state.system_entry;
  state.status_line.assignf("* %s %s, %s, %s, %s, %s", now.c_str(), name.c_str(), entry.display_hostname.c_str(),
                            entry.destination.c_str(), entry.sysnr.c_str(), entry.client.c_str());
}

void print_processed_line(RunState& state) {
  BoundedText<8> now;
  local_time_of_day(now);
  ConsoleLine line;
  line.assignf("\n* %s SAP %s now processed...", now.c_str(), program_name);
  print_line(state, line.view());
}
