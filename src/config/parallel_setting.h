// The option ",PARALLEL=n": how many listed systems an item-mode run measures
// at the same time, each in a child process of its own.
#pragma once

#include "common/run_options.h"

/// Most listed systems measured at the same time.
inline constexpr unsigned most_parallel_systems = 16;

/// What the option text says about measuring at the same time.
struct ParallelSetting {
  /// Whether the text holds ",PARALLEL=".
  bool given = false;
  /// 1 to 16 when given and valid; 0 otherwise.
  unsigned systems = 0;
  /// The value as typed: the text after the keyword up to a comma, blank or the end.
  OptionText value;
};

/// Reads ",PARALLEL=" (any letter case, comma included) from the options.
ParallelSetting parallel_setting(const RunOptions& options);

/// The setting of an item-mode run, the listing's entry deciding when it
/// names the keyword (`option_value_of_run`).
ParallelSetting parallel_setting_of_run(const RunOptions& in_force, const RunOptions& command_line);
