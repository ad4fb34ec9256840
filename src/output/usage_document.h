// The documents of a measurement: the whole document of one system, or in
// item mode the one channel of a listed system.
#pragma once

#include <string_view>

#include "calculation/page_roll_usage.h"
#include "output/result_document.h"

/// Writes the complete document of the system `destination`: the message
/// "(DESTINATION) Page/Roll: ..." and one channel per value.
void write_usage_document(ResultDocument& document, std::string_view destination, const PageRollUsage& usage);

/// Replaces `result_text` with the channel of the value `item_name` names
/// (case-sensitively), named `channel_key`; empty when it names none.
void write_item_channel(ResultDocument& document, std::string_view item_name, std::string_view channel_key,
                        const PageRollUsage& usage);
