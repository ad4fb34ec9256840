#include "common/bounded_text.h"

#include <gtest/gtest.h>

#include <string>

#include "common/ascii.h"

TEST(BoundedText, TextUpToTheCapacityFitsWhole) {
  BoundedText<5> text;
  EXPECT_TRUE(text.assign("abcde"));
  EXPECT_EQ(text.view(), "abcde");
  EXPECT_EQ(text.room(), 0u);
  EXPECT_EQ(std::string(text.c_str()), "abcde");
}

TEST(BoundedText, LongerTextIsCutAtTheCapacityAndSaysSo) {
  BoundedText<5> text;
  EXPECT_FALSE(text.assign("abcdef"));
  EXPECT_EQ(text.view(), "abcde");
  EXPECT_FALSE(text.append("x"));
  EXPECT_FALSE(text.append('x'));
  EXPECT_EQ(text.view(), "abcde");
}

TEST(BoundedText, RefusingWritesTakeTheWholeTextOrNothing) {
  BoundedText<5> text("abc");
  EXPECT_FALSE(text.append_whole("def"));
  EXPECT_EQ(text.view(), "abc");
  EXPECT_TRUE(text.append_whole("de"));
  EXPECT_EQ(text.view(), "abcde");
  EXPECT_TRUE(text.assign_whole("vwxyz"));
  EXPECT_EQ(text.view(), "vwxyz");
  EXPECT_FALSE(text.assign_whole("uvwxyz"));
  EXPECT_EQ(text.view(), "") << "a refused text leaves nothing that could pass for it";
}

TEST(BoundedText, FormattedTextIsCutAtTheCapacity) {
  BoundedText<8> text("ab");
  EXPECT_TRUE(text.appendf("%d", 123));
  EXPECT_EQ(text.view(), "ab123");
  EXPECT_FALSE(text.appendf("%s", "xyzw"));
  EXPECT_EQ(text.view(), "ab123xyz");
  EXPECT_FALSE(text.assignf("%u", 4294967295u));
  EXPECT_EQ(text.view(), "42949672");
}

TEST(BoundedText, FormattedTextPastTheCapacityWritesNothingBeyondTheStorage) {
  // Eight bytes of storage end the object, so under the sanitizers a byte
  // written past them lands in a red zone instead of in padding.
  static_assert(sizeof(BoundedText<7>) == sizeof(TextBuffer) + 8);
  BoundedText<7> text("ab");
  EXPECT_FALSE(text.appendf("%s", "cdefghijk"));
  EXPECT_EQ(text.view(), "abcdefg");
  EXPECT_FALSE(text.assignf("%d%d", 12345, 6789));
  EXPECT_EQ(text.view(), "1234567");
}

TEST(BoundedText, CopiesHoldTheirOwnCharacters) {
  BoundedText<10> original("one");
  BoundedText<10> copy(original);
  original.assign("two");
  EXPECT_EQ(copy.view(), "one");
  copy = original;
  EXPECT_EQ(copy.view(), "two");
}

TEST(BoundedText, EditsStayInsideTheText) {
  BoundedText<10> text("a.b.c");
  text.set_char(text.find('.'), '_');
  text.set_char(TextBuffer::npos, '!');
  text.set_char(5, '!');
  EXPECT_EQ(text.view(), "a_b.c");
  text.cut_at(3);
  text.cut_at(7);
  EXPECT_EQ(text.view(), "a_b");
  text.drop_front(1);
  EXPECT_EQ(std::string(text.c_str()), "_b");
  text.drop_front(5);
  EXPECT_EQ(std::string(text.c_str()), "");
  text.assign("mixed Case-1");
  text.to_upper();
  EXPECT_EQ(text.view(), "MIXED CASE");
}

TEST(AsciiComparison, OnlyTheLettersAToZCountAsTheirCapitals) {
  EXPECT_TRUE(equals_ignoring_case("GloBal.p00", "GLOBAL.P00"));
  EXPECT_FALSE(equals_ignoring_case("GLOBAL.P0", "GLOBAL.P00"));
  EXPECT_TRUE(starts_with_ignoring_case("sapgw00", "SAPGW"));
  EXPECT_FALSE(starts_with_ignoring_case("sapg", "SAPGW"));
  EXPECT_FALSE(equals_ignoring_case("\xe4", "\xc4")) << "bytes above 127 are no letters";
  EXPECT_FALSE(equals_ignoring_case("@", "`"));
  EXPECT_TRUE(is_printable(' ') && is_printable('~'));
  EXPECT_FALSE(is_printable('\x1f') || is_printable('\x7f') || is_printable('\xe4'));
}
