// The logon record of one SAP system, as read from its profile.
#pragma once

#include "common/bounded_text.h"
#include "config/password.h"

/// Fields hold at most the characters their profile labels allow; longer
/// values are refused where they are read.
struct SystemEntry {
  BoundedText<63> extcompany;
  BoundedText<11> destination;
  BoundedText<11> client;
  BoundedText<47> user;
  BoundedText<password_body_length> password;
  BoundedText<31> language;
  BoundedText<31> mode;
  BoundedText<47> hostname;
  BoundedText<31> sysnr;
  BoundedText<61> gwhost;
  BoundedText<31> gwservice;
  /// The host name as the profile gives it, for status lines only.
  decltype(hostname) display_hostname;
};
