#include "driver/sensor_run.h"

#include <cstdio>

#include "config/profile_file.h"
#include "config/profile_name.h"
#include "driver/item_mode_run.h"
#include "driver/output_target_setting.h"
#include "driver/run_options.h"
#include "driver/run_state.h"
#include "driver/single_system_run.h"
#include "output/result_document.h"
#include "platform/process.h"

void start_up(RunState& state) {
  local_time_of_day(state.start_time);
  state.status_line.assignf("* %s SAP %s %s", state.start_time.c_str(), program_name, program_version);
}

void end_run_with_error(RunState& state, std::string_view message) {
  write_error_document(state, message);
  std::fputs(state.result_text.c_str(), state.out);
  exit_process(2);
}

void run_sensor(RunState& state, int argc, const char* const* argv) {
  start_up(state);
  state.program_path = argc > 0 ? argv[0] : "";
  if (argc < 2) end_run_with_error(state, "Error 1001: Parameter for Profile-Name is missing !");
  if (!assemble_run_options(state, argc, argv))
    end_run_with_error(state, "Error 1009: Parameters longer than 127 characters !");
  form_profile_name(state, argv[1]);
  fix_output_target(state);
  open_profile(state);
  if (state.item_mode) run_item_mode(state);
  run_single_system(state);
}
