// The system number of an application server, as a profile writes it and as
// a connection is opened with it.
#pragma once

#include <cstdint>
#include <string_view>

/// Whether `sysnr` is written as a system number is meant: exactly two digits.
bool is_system_number(std::string_view sysnr);

/// The number a connection is opened with for the text `sysnr`: leading
/// blanks skipped, an optional sign, the digits up to the first other
/// character; 0 without digits.  "0x" gives 0, "123" gives 123.
std::int32_t system_number_value(std::string_view sysnr);
