#include "driver/run_state.h"
#include "driver/run_steps.h"
#include "driver/sensor_run.h"
#include "platform/command_line.h"
#include "platform/library_loading.h"
#include "platform/process.h"

int main(int argc, char** argv) {
  prepare_standard_streams("quenmarel");
  // Before anything can load a library: a probe's working directory is often
  // writable by more accounts than the sensor's own.
  keep_working_directory_out_of_library_search();
  static RunState state;  // process-wide, so the run's buffers never touch the stack's limits
  const ProgramArguments& arguments = program_arguments(argc, argv);
  const int exit_code = run_sensor(state, arguments.count, arguments.values);
  exit_process(exit_code, exit_code_if_undelivered(state.document, exit_code));
}
