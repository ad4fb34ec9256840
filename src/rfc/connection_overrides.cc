#include "rfc/connection_overrides.h"

namespace {

// The value as typed replaces the profile's only when the keyword is given.
void take_override(const RunOptions& options, std::string_view keyword, TextBuffer& value) {
  const OptionValue override_value = option_value(options, keyword);
  if (override_value.given) value.assign(override_value.text.view());
}

}  // namespace

void apply_connection_overrides(const RunOptions& options, TextBuffer& hostname, TextBuffer& sysnr) {
  take_override(options, ",HOST=", hostname);
  take_override(options, ",NO=", sysnr);
}
