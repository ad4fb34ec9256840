// The trace file "Dev_Rfc.Trc" in the working directory, written alike by the
// RFC libraries of ours and by the sensor for what fails before the library.
#pragma once

#include <string_view>

/// Appends one error block to "Dev_Rfc.Trc":
///   "**** ERROR in " function
///   "T:" number " ======> " status
///   "ERROR" seven blanks detail
/// and an empty line.  The number is the block's position in the file (0001
/// for the first), so the same errors give the same bytes in every process.
/// Line breaks inside the texts become blanks, so no text can forge a line.
/// The block is appended in one piece of at most 4095 characters: function
/// and status are cut at 127 characters, a longer detail where it fills the
/// block.
void write_trace_block(std::string_view function, std::string_view status, std::string_view detail);

/// Appends one line of information that is no error block, such as which
/// library answered; line breaks inside it become blanks.
void write_trace_line(std::string_view text);
