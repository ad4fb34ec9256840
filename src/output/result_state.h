// How a measured run stands: its values against the proposed limits, and in
// item mode its listed systems.
#pragma once

#include <cstdint>

#include "common/channel_limits.h"

/// From good to bad.  The numbers are the exit codes by which monitors that
/// run check plugins read a state.
enum class ResultState { OK = 0, Warning = 1, Critical = 2, Unknown = 3, count };

/// The worse of two states.
inline ResultState worse_state(ResultState a, ResultState b) { return a < b ? b : a; }

/// A value above the error limit is critical, one above the warning limit a
/// warning; without limits every value is OK.
inline ResultState state_of_value(std::uint32_t value, const ChannelLimits& limits) {
  if (limits.error != 0 && value > limits.error) return ResultState::Critical;
  if (limits.warning != 0 && value > limits.warning) return ResultState::Warning;
  return ResultState::OK;
}
