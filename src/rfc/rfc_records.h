// The records the sensor hands to the RFC library, and the copies they point at.
#pragma once

#include "common/bounded_text.h"
#include "common/run_options.h"
#include "config/system_entry.h"
#include "rfc/logon_file_copy.h"
#include "rfc_library.h"

/// Filled anew for every connection; the library may keep pointers into them
/// for as long as the connection is open, so they live as long as the run.
struct RfcRecords {
  rfc_environment_record environment{};
  rfc_logon_options_record logon_options{};
  r2_connection_options_record r2_connection_options{};
  r3_connection_options_record r3_connection_options{};
  rfc_open_error_details open_error_details{};

  /// Working copy of the system entry, user and password padded as the library needs them.
  SystemEntry entry;
  /// The entry's host and system number, or what the options put in their place.
  OptionText hostname;
  OptionText sysnr;
  /// The logon of RfcOpenEx when a per-destination logon file is used.
  BoundedText<255> connect_string;
  /// The copy of the per-destination logon file that RfcOpenEx reads.
  OwnLogonFile own_logon_file;
  /// "SapRfc.S00 not copied: " and why, when the last connection could not
  /// be opened for want of a copy of its logon file; empty otherwise.
  LogonCopyFailure logon_copy_failure;
};
