// The records the sensor hands to the RFC library, and the copies they point at.
#pragma once

#include "common/bounded_text.h"
#include "rfc_library.h"

/// Filled anew for every connection; the library may keep pointers into them
/// for as long as the connection is open, so they live as long as the run.
struct RfcRecords {
  rfc_environment_record environment{};
  rfc_logon_options_record logon_options{};
  r2_connection_options_record r2_connection_options{};
  r3_connection_options_record r3_connection_options{};
  rfc_open_error_details open_error_details{};
  rfc_error_info error_record{};

  // Working copies of the system entry, padded or overridden as the library needs them.
  BoundedText<11> destination;
  BoundedText<11> client;
  BoundedText<47> user;
  BoundedText<20> password;
  BoundedText<31> language;
  BoundedText<31> mode;
  BoundedText<127> hostname;
  BoundedText<127> sysnr;
  BoundedText<61> gwhost;
  BoundedText<31> gwservice;
  BoundedText<255> connect_string;
};
