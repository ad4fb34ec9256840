// Host and system-number overrides given in the run options.
#pragma once

#include <cstdint>
#include <string_view>

#include "common/bounded_text.h"
#include "common/run_options.h"

/// Replaces `hostname` by the text after ",HOST=" and `sysnr` by the text after
/// ",NO=" when the options hold them.  Each value runs to the next comma, blank
/// or end of the text and keeps the case it was typed in.
void apply_connection_overrides(const RunOptions& options, TextBuffer& hostname, TextBuffer& sysnr);

/// A text as a decimal number: leading blanks skipped, an optional sign, the
/// digits up to the first other character; 0 without digits.
std::int32_t decimal_value(std::string_view text);
