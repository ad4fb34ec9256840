#include "common/channel_limits.h"

#include "common/run_options.h"

namespace {

constexpr std::size_t most_limit_digits = 3;

bool read_limit(std::string_view text, unsigned& limit) {
  return option_number(text, most_limit_digits, limit) && limit >= 1 && limit <= most_channel_limit;
}

}  // namespace

bool read_channel_limits(std::string_view value, ChannelLimits& limits) {
  const std::size_t slash = value.find('/');
  if (slash == std::string_view::npos) return false;
  ChannelLimits read;
  const std::string_view warning = value.substr(0, slash);
  if (!warning.empty() && !read_limit(warning, read.warning)) return false;
  if (!read_limit(value.substr(slash + 1), read.error)) return false;
  if (read.warning >= read.error) return false;
  limits = read;
  return true;
}
