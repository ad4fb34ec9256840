// One client connection of a simulated system: the logon, then its calls.
#pragma once

#include "scenario.h"

/// Longest a connection may stay silent before rfcsim drops it.
inline constexpr int idle_timeout_ms = 120000;

/// Serves the connected socket `fd` as `system` until the client leaves, the
/// scenario ends the connection or the client stays silent too long; closes `fd`.
void serve_session(int fd, const SystemScenario& system);
