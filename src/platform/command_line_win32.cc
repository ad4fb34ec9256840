#include <windows.h>

#include "platform/command_line.h"

// The C runtime's own reading of the command line in UTF-16, by the rules its
// main() reads it with, from the msvcrt.dll every Windows has.
extern "C" {
struct RuntimeStartupInfo {
  int new_mode;
};
int __wgetmainargs(int* argc, wchar_t*** argv, wchar_t*** environment, int expand_wildcards,
                   RuntimeStartupInfo* startup_info);
}

namespace {

// A command line holds at most 32767 UTF-16 units, each at most three bytes
// of UTF-8 (a pair of surrogates four), and a NUL after each argument.
constexpr int command_line_units = 32767;
constexpr int utf8_capacity = command_line_units * 3 + most_program_arguments;

char utf8_storage[utf8_capacity];
const char* utf8_values[most_program_arguments + 1];

// Converts the arguments into utf8_storage, each in UTF-8 (an unpaired
// surrogate becomes U+FFFD); returns how many were taken.
int convert_arguments(wchar_t** wide, int count) {
  if (count > most_program_arguments) count = most_program_arguments;
  int used = 0;
  for (int i = 0; i < count; ++i) {
    const int written =
        WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, utf8_storage + used, utf8_capacity - used, nullptr, nullptr);
    if (written <= 0) return i;
    utf8_values[i] = utf8_storage + used;
    used += written;
  }
  return count;
}

}  // namespace

const ProgramArguments& program_arguments(int argc, char** argv) {
  static ProgramArguments arguments;
  arguments.count = argc;
  arguments.values = argv;
  int count = 0;
  wchar_t** wide = nullptr;
  wchar_t** environment = nullptr;
  RuntimeStartupInfo startup_info{0};
  if (__wgetmainargs(&count, &wide, &environment, 0, &startup_info) < 0 || wide == nullptr) return arguments;
  arguments.count = convert_arguments(wide, count);
  utf8_values[arguments.count] = nullptr;
  arguments.values = utf8_values;
  return arguments;
}
