// The frame format: limits, any byte in a value, and frames that lie about their size.
#include "wire_format.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(WireFormat, FieldsComeBackInOrderWithAnyByteInTheText) {
  const std::string every_byte = [] {
    std::string bytes;
    for (int b = 0; b < 256; ++b) bytes.push_back(static_cast<char>(b));
    return bytes;
  }();
  FrameWriter frame(FrameKind::Reply);
  ASSERT_TRUE(frame.put_int(-2));
  ASSERT_TRUE(frame.put_text(every_byte));
  ASSERT_TRUE(frame.put_text(""));
  ASSERT_TRUE(frame.put_int(INT32_MIN));

  FrameKind kind{};
  std::size_t payload_size = 0;
  ASSERT_TRUE(parse_frame_header(frame.bytes(), &kind, &payload_size));
  EXPECT_EQ(kind, FrameKind::Reply);
  EXPECT_EQ(payload_size, frame.size() - frame_header_size);
  FieldReader reader(frame.bytes() + frame_header_size, payload_size);
  std::int32_t number = 0;
  std::string_view text;
  EXPECT_TRUE(reader.get_int(&number));
  EXPECT_EQ(number, -2);
  EXPECT_TRUE(reader.get_text(&text));
  EXPECT_EQ(text, every_byte);
  EXPECT_TRUE(reader.get_text(&text));
  EXPECT_EQ(text, "");
  EXPECT_TRUE(reader.get_int(&number));
  EXPECT_EQ(number, INT32_MIN);
  EXPECT_TRUE(reader.at_end());
  EXPECT_FALSE(reader.get_int(&number));
}

TEST(WireFormat, TextFillingThePayloadExactlyFitsAndOneByteMoreIsRefusedWhole) {
  FrameWriter full(FrameKind::Call);
  EXPECT_TRUE(full.put_text(std::string(frame_payload_limit - 2, 'a')));
  EXPECT_EQ(full.size(), frame_header_size + frame_payload_limit);
  EXPECT_FALSE(full.put_int(1));
  EXPECT_FALSE(full.put_text(""));

  FrameWriter over(FrameKind::Call);
  ASSERT_TRUE(over.put_int(5));
  EXPECT_FALSE(over.put_text(std::string(frame_payload_limit - 5, 'b')));
  // Nothing of the refused field went in; a field that fits still does.
  EXPECT_EQ(over.size(), frame_header_size + 4);
  EXPECT_TRUE(over.put_text(std::string(frame_payload_limit - 6, 'c')));
}

TEST(WireFormat, HeaderAnnouncingMoreThanTheLimitIsRefused) {
  FrameKind kind{};
  std::size_t size = 0;
  const unsigned char at_limit[3] = {'R', 0x10, 0x00};
  const unsigned char past_limit[3] = {'R', 0x10, 0x01};
  EXPECT_TRUE(parse_frame_header(at_limit, &kind, &size));
  EXPECT_EQ(size, frame_payload_limit);
  EXPECT_FALSE(parse_frame_header(past_limit, &kind, &size));
}

TEST(WireFormat, TextLongerThanWhatIsLeftOfThePayloadIsNotRead) {
  const unsigned char payload[] = {0, 5, 'a', 'b', 'c', 'd'};
  FieldReader reader(payload, sizeof payload);
  std::string_view text;
  EXPECT_FALSE(reader.get_text(&text));
  const unsigned char short_int[] = {0, 0, 1};
  FieldReader short_reader(short_int, sizeof short_int);
  std::int32_t number = 0;
  EXPECT_FALSE(short_reader.get_int(&number));
}

}  // namespace
