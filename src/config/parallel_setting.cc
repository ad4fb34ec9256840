#include "config/parallel_setting.h"

#include <string_view>

namespace {

constexpr std::string_view parallel_keyword = ",PARALLEL=";
constexpr std::size_t most_value_digits = 2;

// 1 to 16 written with one or two digits; anything else is no number of systems.
unsigned systems_of(const TextBuffer& value) {
  unsigned systems = 0;
  if (!option_number(value.view(), most_value_digits, systems) || systems > most_parallel_systems) return 0;
  return systems;
}

ParallelSetting parallel_setting_of(const OptionValue& option) {
  ParallelSetting setting;
  setting.given = option.given;
  setting.value = option.text;
  setting.systems = systems_of(setting.value);
  return setting;
}

}  // namespace

ParallelSetting parallel_setting(const RunOptions& options) {
  return parallel_setting_of(option_value(options, parallel_keyword));
}

ParallelSetting parallel_setting_of_run(const RunOptions& in_force, const RunOptions& command_line) {
  return parallel_setting_of(option_value_of_run(in_force, command_line, parallel_keyword));
}
