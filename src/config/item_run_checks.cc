#include "config/item_run_checks.h"

ConfigStatus check_channel_limits(const OptionValue& value, ChannelLimits& limits) {
  limits = ChannelLimits{};
  if (!value.given || read_channel_limits(value.text.view(), limits)) return ConfigStatus();
  return ConfigStatus(NumberedError::ChannelLimitsInvalid, value.text.view());
}

ConfigStatus check_item_run(const ItemListing& listing, const RunOptions& in_force, const RunOptions& command_line,
                            ItemRunSettings& settings) {
  if (const ConfigStatus named = check_item_name(listing.item_name); !named.ok()) return named;
  settings.parallel = parallel_setting_of_run(in_force, command_line);
  if (settings.parallel.given && settings.parallel.systems == 0)
    return ConfigStatus(NumberedError::ParallelSettingInvalid, settings.parallel.value.view());
  return check_channel_limits(option_value_of_run(in_force, command_line, channel_limits_keyword), settings.limits);
}
