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

std::int32_t decimal_value(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  std::int64_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > INT32_MAX) value = INT32_MAX + std::int64_t{1};  // clamp; no system number is that large
  }
  if (negative) value = -value;
  if (value > INT32_MAX) value = INT32_MAX;
  return static_cast<std::int32_t>(value);
}
