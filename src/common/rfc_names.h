// What the sensor, the stand-in RFC library and rfcsim must name alike.
#pragma once

#include <cstddef>
#include <iterator>
#include <string_view>

/// The values SAPTUNE_ROLL_PAGE_SIZES reports, in the order of its interface.
enum RollPageValue : std::size_t {
  PAGE_AREA_SHARED_MEMORY,
  PAGE_AREA_SIZE,
  PAGE_CURRENTLY_USED,
  PAGE_MAX_USED,
  PAGE_WP_LOCAL,
  PAGING_FILE_SIZE,
  ROLL_AREA_SHARED_MEMORY,
  ROLL_AREA_SIZE,
  ROLL_CURRENTLY_USED,
  ROLL_FILE_SIZE,
  ROLL_MAX_USED,
  roll_page_value_count
};

/// The names of the values as the function module's interface spells them.
inline constexpr const char* roll_page_value_names[] = {
    "PAGE_AREA_SHARED_MEMORY", "PAGE_AREA_SIZE",   "PAGE_CURRENTLY_USED",     "PAGE_MAX_USED",
    "PAGE_WP_LOCAL",           "PAGING_FILE_SIZE", "ROLL_AREA_SHARED_MEMORY", "ROLL_AREA_SIZE",
    "ROLL_CURRENTLY_USED",     "ROLL_FILE_SIZE",   "ROLL_MAX_USED",
};
static_assert(std::size(roll_page_value_names) == roll_page_value_count, "one name per value");

/// The functions the sensor calls in the RFC library, in this order.
enum RfcFunction : std::size_t {
  rfc_call,
  rfc_close,
  rfc_environment,
  rfc_last_error,
  rfc_open,
  rfc_open_ex,
  rfc_receive,
  rfc_function_count
};

/// The names the library exports them by: plain, also on 32-bit Windows.
inline constexpr const char* rfc_function_names[] = {"RfcCall", "RfcClose",  "RfcEnvironment", "RfcLastError",
                                                     "RfcOpen", "RfcOpenEx", "RfcReceive"};
static_assert(std::size(rfc_function_names) == rfc_function_count, "one name per function");

/// The RFC library's trace file in the working directory.
inline constexpr const char* rfc_trace_file_name = "Dev_Rfc.Trc";

/// The start of the line that opens each error block of the trace file.
inline constexpr std::string_view trace_block_start = "**** ERROR ";
