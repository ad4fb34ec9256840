#include "driver/parallel_setting.h"

#include <string_view>

namespace {

constexpr std::string_view parallel_keyword = ",PARALLEL=";
constexpr std::size_t most_value_digits = 2;

// 1 to 16 written with one or two digits; anything else is no number of systems.
unsigned systems_of(const TextBuffer& value) {
  if (value.empty() || value.size() > most_value_digits) return 0;
  unsigned systems = 0;
  for (char c : value.view()) {
    if (c < '0' || c > '9') return 0;
    systems = systems * 10 + static_cast<unsigned>(c - '0');
  }
  return systems <= most_parallel_systems ? systems : 0;
}

}  // namespace

ParallelSetting parallel_setting(const RunOptions& options) {
  ParallelSetting setting;
  const std::size_t found = options.run_options.find(parallel_keyword);
  if (found == TextBuffer::npos) return setting;
  setting.given = true;
  for (std::size_t i = found + parallel_keyword.size(); i < options.given_options.size(); ++i) {
    const char c = options.given_options[i];
    if (c == ',' || c == ' ') break;
    setting.value.append(c);
  }
  setting.systems = systems_of(setting.value);
  return setting;
}

ParallelSetting parallel_setting_of_run(const RunOptions& in_force, const RunOptions& command_line) {
  const ParallelSetting from_listing = parallel_setting(in_force);
  return from_listing.given ? from_listing : parallel_setting(command_line);
}
