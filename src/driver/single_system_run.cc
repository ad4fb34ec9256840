#include "driver/single_system_run.h"

#include "driver/run_state.h"
#include "platform/process.h"

void run_single_system(RunState&) { exit_process(2); }
