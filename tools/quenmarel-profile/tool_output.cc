#include "tool_output.h"

#include <cstdio>

#include "common/bounded_text.h"
#include "common/saprouter_route.h"
#include "common/text_characters.h"

std::string without_route_passwords(std::string_view text) {
  BoundedText<4095> shown;
  append_without_route_passwords(shown, text);
  return std::string(shown.view());
}

std::string single_line(std::string_view text) {
  std::string line;
  while (!text.empty()) {
    std::size_t length = 0;
    line.append(shown_on_one_line(text, length));
    text.remove_prefix(length);
  }
  return line;
}

void print_text(const char* text) { std::fputs(text, stdout); }

void print_line(const std::string& line) {
  const std::string shown = single_line(line);
  std::fwrite(shown.data(), 1, shown.size(), stdout);
  std::fputc('\n', stdout);
}

void print_error(const std::string& line) {
  std::fprintf(stderr, "quenmarel-profile: %s\n", single_line(line).c_str());
}

bool is_option(const char* word) { return word[0] == '-' && word[1] == '-'; }

int refuse_usage(const std::string& problem, const char* usage) {
  print_error(problem);
  std::fputs(usage, stderr);
  return tool_failure;
}
