#include "driver/item_mode_run.h"

#include "driver/run_state.h"
#include "platform/process.h"

void run_item_mode(RunState&) { exit_process(0); }
