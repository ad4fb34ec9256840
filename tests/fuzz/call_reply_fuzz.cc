// Any payload of a reply frame: decoded, checked against the eleven values
// the sensor asks for, and stored when complete.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "call_reply.h"
#include "wire_format.h"

namespace {

const char* const asked_for[] = {"PAGE_AREA_SHARED_MEMORY", "PAGE_AREA_SIZE", "PAGE_CURRENTLY_USED",
                                 "PAGE_MAX_USED",           "PAGE_WP_LOCAL",  "PAGING_FILE_SIZE",
                                 "ROLL_AREA_SHARED_MEMORY", "ROLL_AREA_SIZE", "ROLL_CURRENTLY_USED",
                                 "ROLL_FILE_SIZE",          "ROLL_MAX_USED"};
constexpr std::size_t value_count = sizeof asked_for / sizeof asked_for[0];

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // No frame carries more; the receiving side never reads a longer payload.
  if (size > frame_payload_limit) return -1;
  Reply reply;
  if (!decode_reply(data, size, reply)) return 0;
  std::int32_t values[value_count] = {};
  rfc_parameter receiving[value_count + 1] = {};
  for (std::size_t i = 0; i < value_count; ++i)
    receiving[i] = {asked_for[i], static_cast<unsigned>(std::strlen(asked_for[i])), RFC_TYPE_INT, sizeof values[i],
                    &values[i]};
  std::string_view name;
  if (check_reply_values(reply, receiving, &name) == ReplyValues::Complete) store_values(reply, receiving);
  return 0;
}
