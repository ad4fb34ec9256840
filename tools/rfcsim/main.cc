// rfcsim SCENARIO: simulated application servers for the stand-in RFC library.
//
// Listens for every [system] of the scenario file, prints "ready" once all
// listen, then one line per logon and per call, until SIGTERM or SIGINT.
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "listener.h"
#include "scenario.h"
#include "sim_log.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: rfcsim SCENARIO\n");
    return 2;
  }
  std::vector<SystemScenario> systems;
  std::string error;
  if (!load_scenario(argv[1], systems, error)) {
    std::fprintf(stderr, "rfcsim: %s\n", error.c_str());
    return 2;
  }
  std::vector<int> sockets;
  if (!install_stop_signals() || !listen_for_systems(systems, sockets, error)) {
    std::fprintf(stderr, "rfcsim: %s\n", error.empty() ? "cannot install signal handlers" : error.c_str());
    return 1;
  }
  log_line("ready");
  serve_until_stopped(systems, sockets);
  // Sessions still running are cut off with the process: leaving never waits for a client.
  std::fflush(stdout);
  _exit(0);
}
