// The pieces a target's documents are made of and the record it writes for
// one channel.  The three XML targets share one set; each plain-text target
// has its own, and so has the check plugins' status line (status_line.h).
#pragma once

#include <string_view>

#include "common/bounded_text.h"
#include "common/channel_limits.h"

/// One channel as a target's record shows it, its texts already cut to size.
struct ChannelRecord {
  /// The key (or the label) as one word; only "Quelbrin" shows it.
  std::string_view message_key;
  std::string_view label;
  std::string_view value;
  /// The unit as the caller passed it; plain-text targets translate it.
  std::string_view unit;
  /// What the run proposes for every channel; only the XML targets show it.
  const ChannelLimits& limits;
};

/// A target's document pieces and writers.
struct TargetRecords {
  /// Replaces the content when a document opens.
  std::string_view document_opening;
  /// Opens the message text.
  std::string_view text_opening;
  /// Ends the message text.
  std::string_view text_end;
  /// Ends the document.
  std::string_view document_end;
  /// Appends part of a message text as the target carries it.
  void (*write_text)(TextBuffer& out, std::string_view text);
  /// Appends the record of one channel.
  void (*write_channel)(TextBuffer& out, const ChannelRecord& channel);
};

/// The monitor's XML result format.
extern const TargetRecords xml_records;

/// "Quelbrin": a "# " message line, then a "Message."/"Statistic." pair per channel.
extern const TargetRecords quelbrin_records;

/// "Harnick": a "# " message line, then a "> " line per channel.
extern const TargetRecords harnick_records;

/// The unit as the plain-text targets show it: "#" for none, "%" for
/// "PerCent", "mSec" for "TimeResponse", anything else unchanged.
std::string_view plain_unit_text(std::string_view unit);
