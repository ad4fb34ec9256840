#include "output/xml_text.h"

#include <gtest/gtest.h>

#include <string>

#include "common/text_characters.h"

namespace {

struct TextCase {
  const char* what;
  std::string text;
  std::string xml;   // as append_xml_escaped writes it
  std::string line;  // as append_single_line writes it
};

const std::string ae_utf8 = "\xC3\xA4";            // a umlaut, U+00E4
const std::string euro_utf8 = "\xE2\x82\xAC";      // U+20AC
const std::string clef_utf8 = "\xF0\x9D\x84\x9E";  // U+1D11E

const TextCase text_cases[] = {
    {"ASCII as it is", "Error 1014: RFC-Failure raised ! ~", "Error 1014: RFC-Failure raised ! ~",
     "Error 1014: RFC-Failure raised ! ~"},
    {"XML specials escaped in XML only", "a&b<c>d\"e'f", "a&amp;b&lt;c&gt;d\"e'f", "a&b<c>d\"e'f"},
    {"two-byte UTF-8", "Fehler " + ae_utf8, "Fehler " + ae_utf8, "Fehler " + ae_utf8},
    {"three-byte UTF-8", "5 " + euro_utf8, "5 " + euro_utf8, "5 " + euro_utf8},
    {"four-byte UTF-8", clef_utf8 + "!", clef_utf8 + "!", clef_utf8 + "!"},
    {"largest code point", "\xF4\x8F\xBF\xBF", "\xF4\x8F\xBF\xBF", "\xF4\x8F\xBF\xBF"},
    {"last code point before the surrogates", "\xED\x9F\xBF", "\xED\x9F\xBF", "\xED\x9F\xBF"},
    {"line feed, carriage return, tab", "a\nb\r\nc\td", "a b  c d", "a b  c d"},
    {"NUL inside a text", std::string("a\0b", 3), "a b", "a b"},
    {"escape sequence", "\x1B[2Jx", " [2Jx", " [2Jx"},
    {"DEL",
     "a\x7F"
     "b",
     "a b", "a b"},
    {"Latin-1 umlaut", "Fehler \xE4", "Fehler " + ae_utf8, "Fehler \xE4"},
    {"Latin-1 letters at both ends of the range", "\xA0\xBF\xC0\xFF", "\xC2\xA0\xC2\xBF\xC3\x80\xC3\xBF",
     "\xA0\xBF\xC0\xFF"},
    {"C1 control as a Latin-1 byte",
     "a\x80\x85\x9B\x9F"
     "b",
     "a    b", "a    b"},
    {"C1 control in UTF-8",
     "a\xC2\x80\xC2\x85\xC2\x9F"
     "b",
     "a   b", "a   b"},
    {"first character after the C1 range", "\xC2\xA0", "\xC2\xA0", "\xC2\xA0"},
    {"lone continuation byte", "x\xA4y", "x\xC2\xA4y", "x\xA4y"},
    {"overlong two-byte form of a slash", "\xC0\xAF", "\xC3\x80\xC2\xAF", "\xC0\xAF"},
    {"overlong two-byte form of NUL", "\xC1\x80", "\xC3\x81 ", "\xC1 "},
    {"overlong three-byte form", "\xE0\x80\xAF", "\xC3\xA0 \xC2\xAF", "\xE0 \xAF"},
    {"overlong four-byte form", "\xF0\x8F\xBF\xBF", "\xC3\xB0 \xC2\xBF\xC2\xBF", "\xF0 \xBF\xBF"},
    {"high surrogate", "\xED\xA0\x80", "\xC3\xAD\xC2\xA0 ", "\xED\xA0 "},
    {"low surrogate", "\xED\xBF\xBF", "\xC3\xAD\xC2\xBF\xC2\xBF", "\xED\xBF\xBF"},
    {"above U+10FFFF", "\xF4\x90\x80\x80", "\xC3\xB4   ", "\xF4   "},
    {"bytes that start no sequence", "\xF5\xFE\xFF", "\xC3\xB5\xC3\xBE\xC3\xBF", "\xF5\xFE\xFF"},
    {"lead byte followed by no continuation",
     "\xC3"
     "A",
     "\xC3\x83"
     "A",
     "\xC3"
     "A"},
    {"three-byte sequence broken after two",
     "\xE2\x82"
     "A",
     "\xC3\xA2 A", "\xE2 A"},
    {"two-byte sequence cut at the text's end", "ab\xC3", "ab\xC3\x83", "ab\xC3"},
    {"four-byte sequence cut at the text's end", "ab\xF0\x9D\x84", "ab\xC3\xB0  ", "ab\xF0  "},
    {"noncharacters XML forbids",
     "a\xEF\xBF\xBE\xEF\xBF\xBF"
     "b",
     "a  b",
     "a\xEF\xBF\xBE\xEF\xBF\xBF"
     "b"},
    {"noncharacter XML allows", "\xEF\xB7\x90", "\xEF\xB7\x90", "\xEF\xB7\x90"},
};

// Every C0 control character but the three above, each on its own.
TEST(TextCharacters, EveryC0ControlCharacterIsABlank) {
  for (int c = 0; c < 0x20; ++c) {
    const std::string text = std::string("<") + static_cast<char>(c) + ">";
    BoundedText<20> xml, line;
    append_xml_escaped(xml, text);
    append_single_line(line, text);
    EXPECT_EQ(xml.view(), "&lt; &gt;") << c;
    EXPECT_EQ(line.view(), "< >") << c;
  }
}

TEST(TextCharacters, XmlAndSingleLineFormsOfEdgeBytes) {
  for (const TextCase& test : text_cases) {
    BoundedText<64> xml, line;
    EXPECT_TRUE(append_xml_escaped(xml, test.text)) << test.what;
    EXPECT_EQ(xml.view(), test.xml) << test.what;
    EXPECT_TRUE(append_single_line(line, test.text)) << test.what;
    EXPECT_EQ(line.view(), test.line) << test.what;
  }
}

TEST(TextCharacters, FirstCharacterDecodesUtf8AndTakesOtherBytesAsLatin1) {
  const struct {
    std::string text;
    char32_t code_point;
    std::size_t length;
    bool utf8;
  } cases[] = {
      {"A", U'A', 1, true},
      {ae_utf8, 0xE4, 2, true},
      {euro_utf8, 0x20AC, 3, true},
      {clef_utf8, 0x1D11E, 4, true},
      {"\xE4", 0xE4, 1, false},
      {"\x85", 0x85, 1, false},
      {"\xED\xA0\x80", 0xED, 1, false},
      {"\xE2\x82", 0xE2, 1, false},
  };
  for (const auto& test : cases) {
    const TextCharacter character = first_character(test.text);
    EXPECT_EQ(character.code_point, test.code_point) << test.text;
    EXPECT_EQ(character.length, test.length) << test.text;
    EXPECT_EQ(character.utf8, test.utf8) << test.text;
  }
  // A sequence that goes on past the end of the text is no sequence of it.
  const TextCharacter cut = first_character(std::string_view(ae_utf8).substr(0, 1));
  EXPECT_EQ(cut.code_point, 0xC3u);
  EXPECT_EQ(cut.length, 1u);
}

// A character that does not fit whole is left out with all that follows,
// in a buffer of eight characters: at the limit it fits, one past it does not.
TEST(TextCharacters, CutsOnlyBeforeAWholeCharacter) {
  const struct {
    const char* what;
    std::string text;
    std::string xml;
    bool xml_whole;
    std::string line;
    bool line_whole;
  } cases[] = {
      {"ASCII up to the limit", "12345678", "12345678", true, "12345678", true},
      {"ASCII past the limit", "123456789", "12345678", false, "12345678", false},
      {"two-byte character at the limit", "123456" + ae_utf8, "123456" + ae_utf8, true, "123456" + ae_utf8, true},
      {"two-byte character across the limit", "1234567" + ae_utf8, "1234567", false, "1234567", false},
      {"three-byte character across the limit", "123456" + euro_utf8, "123456", false, "123456", false},
      {"four-byte character across the limit", "12345" + clef_utf8, "12345", false, "12345", false},
      {"Latin-1 byte that XML needs two for", "1234567\xE4", "1234567", false, "1234567\xE4", true},
      {"escape across the limit", "1234&", "1234", false, "1234&", true},
      {"escape at the limit", "123&", "123&amp;", true, "123&", true},
  };
  for (const auto& test : cases) {
    BoundedText<8> xml, line;
    EXPECT_EQ(append_xml_escaped(xml, test.text), test.xml_whole) << test.what;
    EXPECT_EQ(xml.view(), test.xml) << test.what;
    EXPECT_EQ(append_single_line(line, test.text), test.line_whole) << test.what;
    EXPECT_EQ(line.view(), test.line) << test.what;
  }
}

TEST(TextCharacters, RoomKeptFreeIsNeverWrittenInto) {
  BoundedText<16> out("</Text>");
  EXPECT_FALSE(append_xml_escaped(out, "ab" + ae_utf8, 7));
  EXPECT_EQ(out.view(), "</Text>ab");
  EXPECT_EQ(out.room(), 7u);
}

}  // namespace
