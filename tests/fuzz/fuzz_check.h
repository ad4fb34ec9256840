// What the fuzz targets assert about their readers' results.  A broken
// invariant ends the process as a crash would, so libFuzzer saves the input.
#pragma once

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <string_view>

/// Ends the process, naming the invariant that broke.
[[noreturn]] inline void fuzz_invariant_broken(const char* invariant, const char* file, int line) {
  std::fprintf(stderr, "%s:%d: invariant broken: %s\n", file, line, invariant);
  std::abort();
}

/// Asserts an invariant in every build type (assert would vanish under NDEBUG).
#define FUZZ_CHECK(invariant) ((invariant) ? (void)0 : fuzz_invariant_broken(#invariant, __FILE__, __LINE__))

/// The input's first line (without its line feed) and what follows it.
struct FirstLineAndRest {
  std::string_view first_line;
  std::string_view rest;
};

/// Splits an input at its first line feed; without one, the whole input is the first line.
inline FirstLineAndRest split_first_line(const unsigned char* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::size_t line_end = input.find('\n');
  if (line_end == std::string_view::npos) return {input, {}};
  return {input.substr(0, line_end), input.substr(line_end + 1)};
}

/// Whether a refusal's message begins with one of the given error numbers
/// ("Error 1025: " for "1025").
inline bool refusal_is_one_of(std::string_view message, std::initializer_list<std::string_view> numbers) {
  for (std::string_view number : numbers)
    if (message.substr(0, 6) == "Error " && message.substr(6, number.size()) == number &&
        message.substr(6 + number.size(), 2) == ": ")
      return true;
  return false;
}
