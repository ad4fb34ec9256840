// Host and system-number overrides given in the run options.
#pragma once

#include <string_view>

#include "common/bounded_text.h"
#include "common/run_options.h"

/// Replaces `hostname` by the text after ",HOST=" and `sysnr` by the text after
/// ",NO=" when the options hold them.  Each value runs to the next comma, blank
/// or end of the text and keeps the case it was typed in.
void apply_connection_overrides(const RunOptions& options, TextBuffer& hostname, TextBuffer& sysnr);
