#include "driver/run_state.h"
#include "driver/sensor_run.h"
#include "platform/command_line.h"
#include "platform/process.h"

int main(int argc, char** argv) {
  prepare_standard_streams("quenmarel");
  static RunState state;  // process-wide, so the run's buffers never touch the stack's limits
  const ProgramArguments& arguments = program_arguments(argc, argv);
  exit_process(run_sensor(state, arguments.count, arguments.values));
}
