// One measured value in the result document.
#pragma once

#include <string_view>

#include "common/bounded_text.h"
#include "output/result_document.h"

/// Appends one channel in the form of the output target and counts it in
/// `channel_count`.  A target with a channel cap ("Quelbrin": ten) writes no
/// channel past it; one that selects by number ("Harnick" with "CH=") writes
/// only the channel of that number, as its bare value; the XML targets add the
/// document's proposed limits; a status line's target collects the channel
/// as a performance value for the line.  A channel that does not fit whole,
/// with room for the document end (or among the performance values), is left
/// out.
void write_channel(ResultDocument& document, std::string_view key, std::string_view label, std::string_view value,
                   std::string_view unit);

/// Takes the channel selection "CH=" of the option text in force into the document.
void select_channel(ResultDocument& document, const TextBuffer& run_options);

/// The key (or the label when the key is empty) as one word: blanks, "/",
/// backslashes and brackets become "_", and so does the first ".".
void form_message_key(std::string_view key, std::string_view label, TextBuffer& message_key);

/// The channel number the option text selects after "CH=": up to three
/// characters, stopping at a comma; 0 when there is no number.
long selected_channel_number(const TextBuffer& run_options);
