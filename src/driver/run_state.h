// Everything one run of the sensor knows: the records of its modules side by
// side, each handed to the steps that work on it.
//
// A run is one process, so there is exactly one of these.
#pragma once

#include <cstdio>

#include "common/run_options.h"
#include "config/global_listing.h"
#include "config/profile_location.h"
#include "config/system_entry.h"
#include "driver/console_lines.h"
#include "output/result_document.h"
#include "platform/process.h"
#include "platform/run_presence.h"
#include "rfc/rfc_records.h"

/// The state of one run.
struct RunState {
  /// The banner from start-up on; each console line is built here before it is printed.
  ConsoleLine status_line;
  /// Local time of day at start-up.
  TimeOfDay start_time;

  /// The option words, as typed and as searched.
  RunOptions options;
  /// Standard output, except in tests.
  std::FILE* out = stdout;
  /// The document the run prints, in the installation's form.
  ResultDocument document;
  /// Where the profile (or the listing) lies.
  ProfileLocation location;
  /// The logon record of the system measured now.
  SystemEntry system_entry;
  /// Item mode only: the listed systems and the item.
  ItemListing listing;
  /// The counters of an item-mode run.
  unsigned systems_count = 0, processed_count = 0, failed_count = 0;
  /// What the RFC library is handed for the connection.
  RfcRecords rfc;
  /// How the RFC library's error handler reports and ends the run: the target's way.
  RfcErrorReportForm rfc_error_report = monitor_run_endings.rfc_error_report;
  /// This run's mark among the sensors at work in the same directory.
  RunPresence presence;
};
