// The reply decoder: which replies are whole, and which answer what the caller asks for.
#include "call_reply.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "wire_format.h"

namespace {

using Values = std::vector<std::pair<std::string, std::int32_t>>;

/// A reply frame of result code 0 with `values`; `count` overrides their number.
FrameWriter reply_frame(const Values& values, std::int32_t count = -2) {
  FrameWriter frame(FrameKind::Reply);
  frame.put_int(0);
  frame.put_text("");
  frame.put_int(count == -2 ? static_cast<std::int32_t>(values.size()) : count);
  for (const auto& [name, value] : values) {
    frame.put_text(name);
    frame.put_int(value);
  }
  return frame;
}

bool decode(const FrameWriter& frame, Reply& reply) {
  return decode_reply(frame.bytes() + frame_header_size, frame.size() - frame_header_size, reply);
}

TEST(CallReply, EachValueAskedForMustComeExactlyOnceAndNamesCompareExactly) {
  const struct {
    const char* what;
    Values values;
    ReplyValues expected;
    const char* name;
  } cases[] = {
      {"all, in another order, with one nobody asks for",
       {{"C", 3}, {"D", 4}, {"A", 1}, {"B", 2}},
       ReplyValues::Complete,
       ""},
      {"one left out", {{"A", 1}, {"C", 3}}, ReplyValues::Missing, "B"},
      {"two left out: the first in the caller's order is named", {{"A", 1}}, ReplyValues::Missing, "B"},
      {"none at all", {}, ReplyValues::Missing, "A"},
      {"a name in other case", {{"A", 1}, {"b", 2}, {"C", 3}}, ReplyValues::Missing, "B"},
      {"a name with a trailing blank", {{"A", 1}, {"B ", 2}, {"C", 3}}, ReplyValues::Missing, "B"},
      {"one asked for given twice", {{"A", 1}, {"B", 2}, {"C", 3}, {"A", 9}}, ReplyValues::Repeated, "A"},
      {"one nobody asks for given twice",
       {{"A", 1}, {"D", 4}, {"B", 2}, {"D", 5}, {"C", 3}},
       ReplyValues::Complete,
       ""},
  };
  for (const auto& reply_case : cases) {
    const FrameWriter frame = reply_frame(reply_case.values);
    Reply reply;
    ASSERT_TRUE(decode(frame, reply)) << reply_case.what;
    std::int32_t a = -1, b = -1, c = -1;
    rfc_parameter receiving[] = {{"A", 1, RFC_TYPE_INT, 4, &a},
                                 {"B", 1, RFC_TYPE_INT, 4, &b},
                                 {"C", 1, RFC_TYPE_INT, 4, &c},
                                 {nullptr, 0, 0, 0, nullptr}};
    std::string_view name;
    EXPECT_EQ(check_reply_values(reply, receiving, &name), reply_case.expected) << reply_case.what;
    EXPECT_EQ(name, reply_case.name) << reply_case.what;
    if (reply_case.expected != ReplyValues::Complete) continue;
    store_values(reply, receiving);
    EXPECT_EQ((std::vector<std::int32_t>{a, b, c}), (std::vector<std::int32_t>{1, 2, 3})) << reply_case.what;
  }
}

TEST(CallReply, ReplyWhoseFieldsDoNotFillThePayloadExactlyIsUnreadable) {
  const Values two = {{"A", 1}, {"B", 2}};
  EXPECT_TRUE([&] {
    Reply reply;
    return decode(reply_frame(two), reply);
  }()) << "the frame the others spoil";
  const struct {
    const char* what;
    FrameWriter frame;
  } cases[] = {
      {"count larger than the values", reply_frame(two, 3)},
      {"count smaller than the values", reply_frame(two, 1)},
      {"negative count", reply_frame({}, -1)},
      {"text cut short",
       [] {
         FrameWriter frame = reply_frame({}, 1);
         frame.put_int(0x00050041);  // a name of 5 characters of which 2 bytes follow
         return frame;
       }()},
  };
  for (const auto& bad : cases) {
    Reply reply;
    EXPECT_FALSE(decode(bad.frame, reply)) << bad.what;
  }
}

}  // namespace
