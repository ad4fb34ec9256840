// The form of the result document an installation's monitor reads.
#pragma once

#include <cstdio>
#include <string_view>

/// The file beside the executable whose first line names the installation's target.
inline constexpr const char* target_file_name = "quenmarel.target";

/// The three XML targets write the same bytes; the last two are plain text.
enum class OutputTarget { EXEXML, Miravex, Tolvane, Quelbrin, Harnick };

/// The keyword of a target, as written in the installation's target file.
std::string_view output_target_keyword(OutputTarget target);

/// The target a keyword names (whole text, case-sensitive); false for none.
bool output_target_from_keyword(std::string_view keyword, OutputTarget& target);

/// Sets `target` from the whole first line of an open target file, trailing
/// blanks and carriage returns ignored; false, leaving `target` as it was,
/// when the line names no target.
bool output_target_from_file(std::FILE* file, OutputTarget& target);

/// Whether the target writes the monitor's XML result format.
inline bool is_xml_target(OutputTarget target) {
  return target == OutputTarget::EXEXML || target == OutputTarget::Miravex || target == OutputTarget::Tolvane;
}
