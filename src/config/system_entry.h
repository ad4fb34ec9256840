// The logon record of one SAP system, as read from its profile.
#pragma once

#include "common/bounded_text.h"

/// Fields hold at most the characters their profile labels allow; values that
/// are longer are cut where they are read.
struct SystemEntry {
  BoundedText<63> extcompany;
  BoundedText<11> destination;
  BoundedText<11> client;
  BoundedText<47> user;
  BoundedText<20> password;
  BoundedText<31> language;
  BoundedText<31> mode;
  BoundedText<47> hostname;
  BoundedText<31> sysnr;
  BoundedText<61> gwhost;
  BoundedText<31> gwservice;
  /// The host name as the profile gives it, for status lines only.
  BoundedText<47> display_hostname;
  /// Listed mode only: the profile was complete and its password sound.
  bool entry_valid = false;
};
