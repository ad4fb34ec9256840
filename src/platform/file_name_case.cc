#include "platform/file_name_case.h"

#include "common/ascii.h"

bool same_file_name(std::string_view name, std::string_view other, FileNameCase rule) {
  return rule == FileNameCase::Exact ? name == other : equals_ignoring_case(name, other);
}

bool file_name_starts_with(std::string_view name, std::string_view prefix, FileNameCase rule) {
  return same_file_name(name.substr(0, prefix.size()), prefix, rule);
}
