#include "tool_output.h"

#include <cstdio>

#include "common/bounded_text.h"
#include "common/saprouter_route.h"

std::string without_route_passwords(std::string_view text) {
  BoundedText<4095> shown;
  append_without_route_passwords(shown, text);
  return std::string(shown.view());
}

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
