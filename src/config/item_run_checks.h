// What a run checks of its item and of the options whose values it reads,
// before it prints anything: the sensor and the doctor refuse alike through
// these.
#pragma once

#include "common/channel_limits.h"
#include "common/run_options.h"
#include "config/config_status.h"
#include "config/global_listing.h"
#include "config/parallel_setting.h"

/// The settings an item-mode run measures with, once they passed their checks.
struct ItemRunSettings {
  ParallelSetting parallel;
  ChannelLimits limits;
};

/// Reads the value of ",LIMITS=" into `limits` (none when `value` does not
/// name the keyword); refuses a value that is no pair of limits (error 1032).
ConfigStatus check_channel_limits(const OptionValue& value, ChannelLimits& limits);

/// Checks an item-mode run whose listing was read and whose `in_force`
/// options were refreshed from it, in the order the run meets them: an item
/// that is none of the channel names (error 1033), a ",PARALLEL=" that is no
/// number of systems (1031), a ",LIMITS=" that is no pair of limits (1032),
/// each option as the listing's entry or else the command line names it.
ConfigStatus check_item_run(const ItemListing& listing, const RunOptions& in_force, const RunOptions& command_line,
                            ItemRunSettings& settings);
