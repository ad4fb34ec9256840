#include "driver/listed_system_child.h"

#include <cstdio>

#include "driver/listed_system_exchange.h"
#include "driver/run_state.h"
#include "driver/sensor_run.h"

namespace {

// A child that cannot do its work ends with this code and no result; its run
// counts the system as failed.
constexpr int unusable_child_exit_code = 2;

}  // namespace

bool form_listed_system_command(ListedSystemCommand& command) {
  if (!executable_path(command.program) || !write_parent_identity(command.parent_id)) return false;
  command.arguments[0] = command.program.c_str();
  command.arguments[1] = listed_system_child_marker.data();
  command.arguments[2] = command.parent_id.c_str();
  command.arguments[3] = nullptr;
  command.command = ChildCommand{command.program.c_str(), command.arguments};
  return true;
}

void run_listed_system_child(RunState& state, int argc, const char* const* argv) {
  if (argc < 3 || !stay_bound_to_parent(argv[2])) exit_process(unusable_child_exit_code);
  ListedSystemRequest request;
  ListedSystem system;
  if (!read_standard_input(request) ||
      !decode_listed_system_request(request.view(), state.options, system.entry_valid, state.system_entry))
    exit_process(unusable_child_exit_code);
  refresh_run_options(state.options);
  take_run_options(state);
  measure_listed_system(state, system);
  write_listed_system_result(state.streams.out, system);
  exit_process(0);
}
