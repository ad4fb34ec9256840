#include "calculation/page_roll_usage.h"

#include <cstdio>

#include "driver/run_state.h"
#include "output/channel_writer.h"
#include "output/result_document.h"
#include "rfc/roll_page_query.h"

namespace {

constexpr const char* percent_unit = "PerCent";

struct Channel {
  const char* label;
  std::uint32_t percent;
};

struct PageRollUsage {
  Channel channels[5];
};

PageRollUsage usage_of(const RollPageSizes& sizes) {
  const std::int32_t paging = area_hundredths(sizes.PAGE_AREA_SHARED_MEMORY, sizes.PAGE_AREA_SIZE);
  const std::int32_t roll = area_hundredths(sizes.ROLL_AREA_SHARED_MEMORY, sizes.ROLL_AREA_SIZE);
  return PageRollUsage{{
      {"Pages Used", usage_percent(sizes.PAGE_CURRENTLY_USED, paging)},
      {"Pages MaxUsed", usage_percent(sizes.PAGE_MAX_USED, paging)},
      {"Pages Wp Local", usage_percent(sizes.PAGE_WP_LOCAL, paging)},
      {"Rolls Used", usage_percent(sizes.ROLL_CURRENTLY_USED, roll)},
      {"Rolls MaxUsed", usage_percent(sizes.ROLL_MAX_USED, roll)},
  }};
}

using PercentText = BoundedText<10>;

PercentText percent_text(std::uint32_t percent) {
  PercentText text;
  text.assignf("%u", static_cast<unsigned>(percent));
  return text;
}

void add_failure_text(RunState& state, rfc_result_code code, const ExceptionText& exception_text) {
  switch (code) {
    case RFC_RESULT_FAILURE: state.result_text.append("Error 1014: RFC-Failure raised !"); break;
    case RFC_RESULT_EXCEPTION:
      state.result_text.append("Error 1012: Exception.: ");
      state.result_text.append(exception_text.view());
      break;
    case RFC_RESULT_SYS_EXCEPTION: state.result_text.append("Error 1013: Sys-Exception raised !"); break;
    default: state.result_text.append("Error 1015: Other Failure raised !"); break;
  }
}

void write_document(RunState& state, const PageRollUsage& usage) {
  const Channel* c = usage.channels;
  BoundedText<255> message;
  message.assignf("(%s) Page/Roll: Pages Used=%u%%, Max=%u%%, WpLocal=%u%%, Roll Used=%u%%, Max=%u",
                  state.system_entry.destination.c_str(), static_cast<unsigned>(c[0].percent),
                  static_cast<unsigned>(c[1].percent), static_cast<unsigned>(c[2].percent),
                  static_cast<unsigned>(c[3].percent), static_cast<unsigned>(c[4].percent));
  open_result_document(state);
  begin_result_text(state);
  add_result_text(state, message.view());
  end_result_text(state);
  for (const Channel& channel : usage.channels)
    write_channel(state, "", channel.label, percent_text(channel.percent).view(), percent_unit);
  close_result_document(state);
}

void write_item_channel(RunState& state, const PageRollUsage& usage) {
  state.item_measured = 'X';
  state.result_text.clear();
  const BoundedText<63> label(state.sensor_channel_key);
  for (const Channel& channel : usage.channels) {
    if (!state.item_name.equals(channel.label)) continue;
    write_channel(state, state.sensor_channel_key.view(), label.view(), percent_text(channel.percent).view(),
                  percent_unit);
    std::fputs(state.result_text.c_str(), state.out);
    state.result_text.clear();
  }
}

}  // namespace

std::int32_t area_hundredths(std::int32_t shared_memory_size, std::int32_t area_size) {
  return shared_memory_size / 100 + area_size / 100;
}

std::uint32_t usage_percent(std::int32_t value, std::int32_t hundredths) {
  // An empty area (newer servers report no paging area) has no percentage;
  // 0 keeps the other area's values and the set of channels stable.
  if (hundredths == 0) return 0;
  // Widened so that the one quotient that overflows 32 bits (the smallest
  // value divided by -1) wraps like every other instead of being undefined.
  return static_cast<std::uint32_t>(static_cast<std::int64_t>(value) / hundredths);
}

rfc_result_code calculate_page_roll_usage(RunState& state, rfc_handle handle) {
  RollPageSizes sizes;
  ExceptionText exception_text;
  const rfc_result_code code = query_roll_page_sizes(state, handle, sizes, exception_text);
  if (code != RFC_RESULT_OK) {
    add_failure_text(state, code, exception_text);
    return code;
  }
  state.run_status = RunStatus::OK;
  const PageRollUsage usage = usage_of(sizes);
  if (state.item_mode)
    write_item_channel(state, usage);
  else
    write_document(state, usage);
  return code;
}
