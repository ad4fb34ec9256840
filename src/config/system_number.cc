#include "config/system_number.h"

#include "common/ascii.h"

bool is_system_number(std::string_view sysnr) {
  return sysnr.size() == 2 && is_ascii_digit(sysnr[0]) && is_ascii_digit(sysnr[1]);
}

std::int32_t system_number_value(std::string_view sysnr) {
  std::size_t i = 0;
  while (i < sysnr.size() && (sysnr[i] == ' ' || sysnr[i] == '\t')) ++i;
  bool negative = false;
  if (i < sysnr.size() && (sysnr[i] == '+' || sysnr[i] == '-')) negative = sysnr[i++] == '-';
  std::int64_t value = 0;
  for (; i < sysnr.size() && is_ascii_digit(sysnr[i]); ++i) {
    value = value * 10 + (sysnr[i] - '0');
    if (value > INT32_MAX) value = INT32_MAX + std::int64_t{1};  // clamp; no system number is that large
  }
  if (negative) value = -value;
  if (value > INT32_MAX) value = INT32_MAX;
  return static_cast<std::int32_t>(value);
}
