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
// for a success; the caller says which code tells it so.
void exit_process(int exit_code, int exit_code_if_undelivered) {
  const bool delivered = std::fflush(stdout) == 0 && std::ferror(stdout) == 0;
  if (!delivered) {
    std::fprintf(stderr, "%s: standard output could not be written completely\n", stream_owner);
    exit_code = exit_code_if_undelivered;
  }
  std::exit(exit_code);
}
