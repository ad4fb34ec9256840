#include "common/line_reader.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

std::vector<std::string> pieces_of(const std::string& bytes, std::size_t max_characters) {
  std::FILE* file = std::tmpfile();
  std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::rewind(file);
  LineReader reader(file);
  BoundedText<199> line;
  std::vector<std::string> pieces;
  while (reader.read(line, max_characters)) pieces.emplace_back(line.view());
  std::fclose(file);
  return pieces;
}

using Pieces = std::vector<std::string>;

}  // namespace

TEST(LineReader, LineFeedAndCarriageReturnLineFeedEndLinesAlike) {
  EXPECT_EQ(pieces_of("one\ntwo\r\nthree\n", 99), (Pieces{"one", "two", "three"}));
}

TEST(LineReader, LastLineWithoutLineFeedIsStillALine) {
  EXPECT_EQ(pieces_of("one\r\ntwo", 99), (Pieces{"one", "two"}));
  EXPECT_EQ(pieces_of("", 99), Pieces{});
  EXPECT_EQ(pieces_of("\n\n", 99), (Pieces{"", ""}));
}

TEST(LineReader, LongLineComesInPiecesOfTheReadLength) {
  const std::string line(150, 'a');
  EXPECT_EQ(pieces_of(line + "\nnext\n", 99), (Pieces{std::string(99, 'a'), std::string(51, 'a'), "next"}));
}

TEST(LineReader, LineOfExactlyTheReadLengthGivesNoEmptyPiece) {
  const std::string line(99, 'b');
  EXPECT_EQ(pieces_of(line + "\nnext\n", 99), (Pieces{line, "next"}));
  EXPECT_EQ(pieces_of(line + "\r\nnext\r\n", 99), (Pieces{line, "next"}));
}

TEST(LineReader, CarriageReturnInsideALineIsKept) {
  EXPECT_EQ(pieces_of("a\rb\n", 99), (Pieces{"a\rb"}));
  EXPECT_EQ(pieces_of(std::string(99, 'c') + "\rd\n", 99), (Pieces{std::string(99, 'c'), "\rd"}));
}

TEST(LineReader, NulBytesAndBinaryGarbageNeverPassTheBuffer) {
  std::string garbage;
  for (int i = 0; i < 1000; ++i) garbage += static_cast<char>((i * 37) % 256);
  std::size_t total = 0;
  for (const std::string& piece : pieces_of(garbage, 99)) {
    EXPECT_LE(piece.size(), 99u);
    EXPECT_EQ(piece.find('\0'), std::string::npos);
    total += piece.size();
  }
  EXPECT_GT(total, 0u);
  EXPECT_EQ(pieces_of(std::string("ab\0cd\n", 6), 99), (Pieces{"abcd"}));
}

TEST(LineReader, ReadLengthNeverExceedsTheTextsCapacityAndEachPieceSaysWhetherItEndedItsLine) {
  std::FILE* file = std::tmpfile();
  std::fputs("0123456789abc\n0123456789\r\nx\r", file);
  std::rewind(file);
  LineReader reader(file);
  BoundedText<10> line;
  std::vector<std::pair<std::string, bool>> pieces;
  while (reader.read(line, 99)) pieces.emplace_back(line.view(), reader.line_ended());
  EXPECT_EQ(pieces, (std::vector<std::pair<std::string, bool>>{
                        {"0123456789", false}, {"abc", true}, {"0123456789", true}, {"x\r", true}}));
  std::fclose(file);
}

TEST(LineReader, FileEndsForTheReaderAtTheByteBound) {
  // Lines of 99 characters and a line feed: the bound falls inside a line,
  // whose first part is still read; nothing after it is.
  const std::string line = std::string(99, 'x') + "\n";
  std::string bytes;
  while (bytes.size() < text_file_byte_bound) bytes += line;
  const Pieces read = pieces_of(bytes + "beyond\n", 99);
  ASSERT_EQ(read.size(), text_file_byte_bound / line.size() + 1);
  EXPECT_EQ(read.back(), std::string(text_file_byte_bound % line.size(), 'x'));
}

TEST(LineReader, RestOfALongLineIsReadPastWholeAndCounted) {
  std::FILE* file = std::tmpfile();
  std::fputs("0123456789abc\r\ndef\n0123456789\nx\r\ry\n", file);
  std::rewind(file);
  LineReader reader(file);
  BoundedText<10> line;
  std::vector<std::pair<std::string, std::size_t>> lines;
  while (reader.read(line, 99)) lines.emplace_back(line.view(), reader.skip_rest_of_line());
  // A rest of three characters before "\r\n"; a line of exactly the length
  // has no rest; a carriage return inside a line is part of it.
  EXPECT_EQ(lines, (std::vector<std::pair<std::string, std::size_t>>{
                       {"0123456789", 3}, {"def", 0}, {"0123456789", 0}, {"x\r\ry", 0}}));
  std::fclose(file);
}
