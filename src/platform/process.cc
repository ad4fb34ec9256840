#include "platform/process.h"

#include <cstdio>
#include <cstdlib>

void exit_process(int exit_code) {
  std::fflush(stdout);
  std::exit(exit_code);
}
