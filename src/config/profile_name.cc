#include "config/profile_name.h"

#include <string_view>

#include "config/global_listing.h"
#include "config/item_name.h"
#include "driver/run_state.h"
#include "driver/sensor_run.h"

namespace {

constexpr std::string_view item_keyword = "ITEM=";

// A profile name together with its directory prefix: the largest prefix and
// the largest file name side by side.
using FullName = BoundedText<95 + 63>;

bool equals_ignoring_case(std::string_view text, std::string_view upper_case) {
  if (text.size() != upper_case.size()) return false;
  for (std::size_t i = 0; i < text.size(); ++i)
    if (ascii_upper(text[i]) != upper_case[i]) return false;
  return true;
}

void switch_to_item_profile(RunState& state, FullName& name) {
  state.item_mode = true;
  const std::size_t keyword = state.run_options.find(item_keyword);
  take_item_name(state.given_options.view().substr(keyword + item_keyword.size()), state.item_name);
  name.assign(item_profile_name);
}

bool has_extension(const FullName& name) { return name.size() >= 4 && name[name.size() - 4] == '.'; }

// Only a backslash after the first character separates a directory.
std::size_t directory_length(const FullName& name) {
  const std::size_t last = name.view().find_last_of('\\');
  return last == std::string_view::npos || last == 0 ? 0 : last + 1;
}

}  // namespace

// A name too long for its buffers is refused rather than cut: a cut name
// could open another profile, and so measure another system.
void form_profile_name(RunState& state, const char* argument) {
  FullName name;
  bool fits = true;
  if (state.run_options.contains(item_keyword))
    switch_to_item_profile(state, name);
  else
    fits = name.assign(argument);
  if (!has_extension(name)) fits = fits && name.append(".P00");

  const std::size_t split = directory_length(name);
  fits = fits && state.sensor_directory.assign(name.view().substr(0, split));
  fits = fits && state.profile_file_name.assign(name.view().substr(split));
  if (!fits) end_run_with_error(state, "Error 1016: Profile-Name too long...");

  if (equals_ignoring_case(state.profile_file_name.view(), "GLOBAL.P00")) {
    state.item_mode = true;
    state.profile_file_name.assign(global_listing_name);
  }
}
