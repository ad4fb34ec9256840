// The listening sockets of the simulated systems and the loop that accepts clients.
#pragma once

#include <string>
#include <vector>

#include "scenario.h"

/// Makes SIGTERM and SIGINT stop serve_until_stopped; false when that fails.
bool install_stop_signals();

/// Opens one listening socket per system, in order; on a failure closes what
/// it opened, returns false and names the system in `error`.
bool listen_for_systems(const std::vector<SystemScenario>& systems, std::vector<int>& sockets, std::string& error);

/// Accepts clients on `sockets` (one per system) and serves each in a thread
/// of its own until SIGTERM or SIGINT arrives; then closes the sockets.
void serve_until_stopped(const std::vector<SystemScenario>& systems, const std::vector<int>& sockets);
