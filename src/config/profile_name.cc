#include "config/profile_name.h"

#include <string_view>

#include "common/ascii.h"
#include "config/global_listing.h"

namespace {

constexpr std::string_view item_keyword = "ITEM=";
// Only a backslash after the first character separates a directory.
std::size_t directory_length(const TextBuffer& name) {
  const std::size_t last = name.view().find_last_of('\\');
  return last == std::string_view::npos || last == 0 ? 0 : last + 1;
}

}  // namespace

bool has_profile_extension(std::string_view name) {
  return name.size() >= default_profile_extension.size() && name[name.size() - default_profile_extension.size()] == '.';
}

// A name too long for its texts is refused rather than cut: a cut name could
// open another profile, and so measure another system.
ConfigStatus form_profile_name(ProfileLocation& location, ItemName& item_name, const RunOptions& options,
                               const char* argument) {
  ProfilePath name;
  bool fits = true;
  const std::size_t keyword = options.run_options.find(item_keyword);
  if (keyword != TextBuffer::npos) {
    location.item_mode = true;
    take_item_name(options.given_options.view().substr(keyword + item_keyword.size()), item_name);
    name.assign(item_profile_name);
  } else {
    fits = name.assign_whole(argument);
  }
  if (!has_profile_extension(name.view())) fits = fits && name.append_whole(default_profile_extension);

  const std::size_t split = directory_length(name);
  fits = fits && location.sensor_directory.assign_whole(name.view().substr(0, split)) &&
         location.profile_file_name.assign_whole(name.view().substr(split));
  if (!fits) return ConfigStatus(NumberedError::ProfileNameTooLong);

  if (equals_ignoring_case(location.profile_file_name.view(), "GLOBAL.P00")) {
    location.item_mode = true;
    location.profile_file_name.assign(global_listing_name);
  }
  return ConfigStatus();
}
