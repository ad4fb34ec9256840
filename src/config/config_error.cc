#include "config/config_error.h"

#include "driver/run_state.h"
#include "driver/sensor_run.h"

void end_run_naming(RunState& state, std::string_view prefix, std::string_view name, std::string_view suffix) {
  // Room for the longest name any caller passes (a profile path of 159
  // characters) between the longest prefix and suffix.
  BoundedText<255> message(prefix);
  message.append(name);
  message.append(suffix);
  end_run_with_error(state, message.view());
}
