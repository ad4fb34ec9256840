// Everything one run of the sensor knows: the records of its modules side by
// side, each handed to the steps that work on it.
//
// A run is one process, so there is exactly one of these.
#pragma once

#include "common/run_options.h"
#include "config/global_listing.h"
#include "config/profile_location.h"
#include "config/system_entry.h"
#include "driver/console_lines.h"
#include "output/console_routines.h"
#include "output/result_document.h"
#include "platform/process.h"
#include "rfc/rfc_records.h"

struct RunState {
  /// The banner from start-up on; each console line is built here before it is printed.
  ConsoleLine status_line;
  /// Local time of day at start-up.
  TimeOfDay start_time;
  /// Argument 0, as the process received it.
  const char* program_path = "";

  RunOptions options;
  OutputStreams streams;
  ResultDocument document;
  ProfileLocation location;
  SystemEntry system_entry;
  ItemListing listing;
  /// The counters of an item-mode run.
  unsigned systems_count = 0, processed_count = 0, failed_count = 0;
  /// The channel name of the current listed system.
  BoundedText<profile_file_name_capacity> sensor_channel_key;
  RfcRecords rfc;
};
