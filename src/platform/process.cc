#include "platform/process.h"

#include <cstdio>
#include <cstdlib>

namespace {

const char* stream_owner = "quenmarel";

}  // namespace

void prepare_standard_streams(const char* program_name) {
  stream_owner = program_name;
  prepare_standard_stream_handles();
}

// A monitor that received no document, or half of one, must not take the run
// for a success.  A run that already failed keeps its own code, which still
// says what went wrong first.
void exit_process(int exit_code) {
  const bool delivered = std::fflush(stdout) == 0 && std::ferror(stdout) == 0;
  if (!delivered) {
    std::fprintf(stderr, "%s: standard output could not be written completely\n", stream_owner);
    if (exit_code == 0) exit_code = undelivered_exit_code;
  }
  std::exit(exit_code);
}
