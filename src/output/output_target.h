// The form of the result document an installation's monitor reads: one
// descriptor per target, which every place that treats targets differently
// asks.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string_view>

#include "common/bounded_text.h"
#include "output/run_endings.h"
#include "output/target_records.h"

/// The file beside the executable whose first line names the installation's target.
inline constexpr const char* target_file_name = "quenmarel.target";

/// The targets, each with one descriptor; `count` is none, but their number.
enum class OutputTarget { EXEXML, Miravex, Tolvane, Quelbrin, Harnick, Plugin, count };

/// How a target takes the channels of a process.
enum class ChannelSelection {
  /// Every channel, up to the target's cap.
  All,
  /// With "CH=" in the options only the channel of that number, as its bare
  /// value, and nothing of the message: the document holds that value alone.
  ByNumber,
};

/// How a target delivers a run's result.
enum class ResultForm {
  /// A document whose pieces an item-mode run prints as they come: the
  /// opening, each system's channel, the summary.
  Document,
  /// One line printed when the run is over: the state of the channels' values
  /// (and of the listed systems), the message, and the channels' performance
  /// values collected until then.  Nothing comes before it but console lines.
  StatusLine,
};

/// Everything that sets one target apart.
struct OutputTargetDescriptor {
  OutputTarget target;
  /// As written in the installation's target file.
  std::string_view keyword;
  /// Whether it writes the monitor's XML result format.
  bool xml;
  /// Most channels written per process (later ones are counted, not written); 0 for no cap.
  unsigned channel_cap;
  ChannelSelection selection;
  /// Whether the profile is looked for in the monitor's custom-sensor directories.
  bool searches_monitor_directories;
  /// How it delivers a run's result.
  ResultForm form;
  /// Its document pieces and channel record.
  const TargetRecords* records;
  /// Its exit codes, its error document and its report of the RFC library's errors.
  const RunEndings* endings;
};

/// Most characters of a target's keyword.
inline constexpr std::size_t target_keyword_capacity = 15;

/// The descriptor of a target.
const OutputTargetDescriptor& output_target_descriptor(OutputTarget target);

/// The keyword of a target, as written in the installation's target file.
inline std::string_view output_target_keyword(OutputTarget target) { return output_target_descriptor(target).keyword; }

/// Whether the target writes the monitor's XML result format.
inline bool is_xml_target(OutputTarget target) { return output_target_descriptor(target).xml; }

/// The target a keyword names (whole text, case-sensitive); false for none.
bool output_target_from_keyword(std::string_view keyword, OutputTarget& target);

/// Sets `target` from the whole first line of an open target file, trailing
/// blanks and carriage returns ignored; false, leaving `target` as it was,
/// when the line names no target.
bool output_target_from_file(std::FILE* file, OutputTarget& target);

/// Writes into `refusal` the name error 1008 carries for the target file
/// `path`: the path, then " must be one of " and every target's keyword.
void form_target_file_refusal(std::string_view path, TextBuffer& refusal);
