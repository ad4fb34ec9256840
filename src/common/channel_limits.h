// The option ",LIMITS=W/E": warning and error limits proposed with every
// channel of the monitor's XML document, which PRTG takes over when it first
// creates the channel.
#pragma once

#include <string_view>

/// The keyword, searched in the upper-case option text (comma included).
inline constexpr std::string_view channel_limits_keyword = ",LIMITS=";

/// Highest limit the option accepts; the lowest is 1.
inline constexpr unsigned most_channel_limit = 999;

/// The limits proposed for every channel; 0 stands for none.
struct ChannelLimits {
  /// Above it the channel is in warning.
  unsigned warning = 0;
  /// Above it the channel is in error; without it no limits are proposed.
  unsigned error = 0;
};

/// Whether any limit is proposed.
inline bool proposes_limits(const ChannelLimits& limits) { return limits.error != 0; }

/// Reads "W/E" or "/E": whole numbers of one to three digits from 1 to 999,
/// the warning limit below the error limit.  False, leaving `limits` as they
/// were, for anything else.
bool read_channel_limits(std::string_view value, ChannelLimits& limits);
