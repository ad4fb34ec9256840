// UTF-16 texts: the sensor's 8-bit texts in, the library's texts out, and
// nothing ever cut inside a character.
#include "utf16_text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(Utf16Text, OnlyWellFormedUtf8CountsAsUtf8) {
  const struct {
    const char* text;
    bool utf8;
  } texts[] = {
      {"", true},
      {"MONITOR", true},
      {"M\xC3\xBCller", true},      // ü
      {"\xE2\x82\xAC", true},       // €
      {"\xF0\x9F\x98\x80", true},   // U+1F600
      {"\xF4\x8F\xBF\xBF", true},   // U+10FFFF, the last one
      {"M\xFCller", false},         // Latin-1 ü
      {"\xC3", false},              // sequence cut short
      {"\xC0\xAF", false},          // overlong "/"
      {"\xE0\x80\xAF", false},      // overlong "/"
      {"\xED\xA0\x80", false},      // a surrogate
      {"\xF4\x90\x80\x80", false},  // past U+10FFFF
      {"\x80", false},              // continuation byte alone
      {"\xC3\xA9\xE9", false},      // valid é, then Latin-1 é
  };
  for (const auto& given : texts) EXPECT_EQ(is_utf8(given.text), given.utf8) << given.text;
}

TEST(Utf16Text, EightBitTextIsUtf8WhenValidAndLatin1Otherwise) {
  const struct {
    const char* text;
    std::u16string units;
  } texts[] = {
      {"SAPTUNE_ROLL_PAGE_SIZES", u"SAPTUNE_ROLL_PAGE_SIZES"},
      {"M\xC3\xBCller", u"M\u00FCller"},
      {"M\xFCller", u"M\u00FCller"},
      {"\xE2\x82\xAC 5", u"\u20AC 5"},
      {"\xF0\x9F\x98\x80", u"\U0001F600"},
      // One invalid byte makes the whole text Latin-1, the valid pair included.
      {"\xC3\xA9\xE9", u"\u00C3\u00A9\u00E9"},
  };
  for (const auto& given : texts) {
    Utf16Text<31> out;
    EXPECT_TRUE(utf16_from_eight_bit(given.text, out)) << given.text;
    EXPECT_EQ(out.view(), given.units) << given.text;
    EXPECT_EQ(out.c_str()[out.size()], 0) << given.text;
  }
}

TEST(Utf16Text, EightBitTextThatDoesNotFitIsRefusedWhole) {
  Utf16Text<3> out;
  EXPECT_TRUE(utf16_from_eight_bit("abc", out));
  EXPECT_EQ(out.view(), u"abc");
  EXPECT_FALSE(utf16_from_eight_bit("abcd", out));
  EXPECT_EQ(out.size(), 0u);
  // Two units fit beside "a", but not a pair beside "ab".
  EXPECT_TRUE(utf16_from_eight_bit("a\xF0\x9F\x98\x80", out));
  EXPECT_FALSE(utf16_from_eight_bit("ab\xF0\x9F\x98\x80", out));
  EXPECT_EQ(out.size(), 0u);
}

TEST(Utf16Text, Utf16BecomesUtf8WithLoneSurrogatesReplaced) {
  const struct {
    std::u16string units;
    std::string text;
  } texts[] = {
      {u"", ""},
      {u"logon rejected", "logon rejected"},
      {u"Zugriff f\u00FCr M\u00FCller", "Zugriff f\xC3\xBCr M\xC3\xBCller"},
      {u"\u20AC", "\xE2\x82\xAC"},
      {u"\U0001F600", "\xF0\x9F\x98\x80"},
      {std::u16string(u"a") + char16_t(0xD800) + u"b",
       "a\xEF\xBF\xBD"
       "b"},
      {std::u16string(u"a") + char16_t(0xDC00), "a\xEF\xBF\xBD"},
      {std::u16string(1, char16_t(0xDE00)) + char16_t(0xD83D), "\xEF\xBF\xBD\xEF\xBF\xBD"},
  };
  for (const auto& given : texts) {
    BoundedText<63> out;
    EXPECT_TRUE(utf8_from_utf16(given.units.c_str(), 64, out)) << given.text;
    EXPECT_EQ(out.view(), given.text);
  }
}

TEST(Utf16Text, Utf16IsReadUpToItsFieldAndCutBeforeACharacterThatDoesNotFit) {
  BoundedText<3> out;
  // A field without NUL ends at its size.
  const SAP_UC field[3] = {u'a', u'b', u'c'};
  EXPECT_TRUE(utf8_from_utf16(field, 2, out));
  EXPECT_EQ(out.view(), "ab");
  // A pair split by the field's end is a lone surrogate.
  const SAP_UC split[2] = {u'a', 0xD83D};
  BoundedText<7> wider;
  EXPECT_TRUE(utf8_from_utf16(split, 2, wider));
  EXPECT_EQ(wider.view(), "a\xEF\xBF\xBD");
  // Three bytes hold "aé" exactly; "aéb" and "a€" do not fit.
  EXPECT_TRUE(utf8_from_utf16(u"a\u00E9", 8, out));
  EXPECT_EQ(out.view(), "a\xC3\xA9");
  EXPECT_FALSE(utf8_from_utf16(u"a\u00E9b", 8, out));
  EXPECT_EQ(out.view(), "a\xC3\xA9");
  EXPECT_FALSE(utf8_from_utf16(u"a\u20AC", 8, out));
  EXPECT_EQ(out.view(), "a");
}

TEST(Utf16Text, FieldIsFilledUpToItsLastUnitAndNeverGetsHalfAPair) {
  const struct {
    const char* text;
    std::u16string units;
  } texts[] = {
      {"abc", u"abc"},
      {"abcd", u"abc"},
      {"a\xF0\x9F\x98\x80", u"a\U0001F600"},
      {"ab\xF0\x9F\x98\x80", u"ab"},
      {"\xFC\xFC\xFC\xFC", u"\u00FC\u00FC\u00FC"},
  };
  for (const auto& given : texts) {
    SAP_UC field[4] = {0x7777, 0x7777, 0x7777, 0x7777};
    fill_utf16_field(given.text, field, 4);
    EXPECT_EQ(std::u16string(field), given.units) << given.text;
  }
}

}  // namespace
