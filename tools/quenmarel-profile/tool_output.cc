#include "tool_output.h"

#include <cstdio>

void print_text(const char* text) { std::fputs(text, stdout); }

void print_line(const std::string& line) {
  std::fputs(line.c_str(), stdout);
  std::fputc('\n', stdout);
}

void print_error(const std::string& line) { std::fprintf(stderr, "quenmarel-profile: %s\n", line.c_str()); }

int refuse_usage(const std::string& problem, const char* usage) {
  print_error(problem);
  std::fputs(usage, stderr);
  return tool_failure;
}
