// Bounded line reading shared by every text file the sensor reads.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "common/bounded_text.h"

/// Most bytes read of any text file: far more than a profile, a listing (long
/// lines included) or a logon file holds, so that a huge file, or one that
/// never ends, costs a run no more than this.  What lies beyond is not read.
inline constexpr std::uint64_t text_file_byte_bound = std::uint64_t{1} << 20;

/// Reads the lines of an open file in pieces of bounded length.
///
/// A line longer than the piece length comes back in pieces of that length,
/// each piece examined by the caller as a line of its own.  The line feed, and
/// a carriage return directly before it, are never part of a line, on every
/// platform (files are read in binary mode).  NUL bytes are dropped, so binary
/// garbage reads as odd text rather than cutting the line short.  After
/// text_file_byte_bound bytes the file counts as ended.
class LineReader {
 public:
  explicit LineReader(std::FILE* file) : file_(file) {}

  /// Reads the next piece, at most `max_characters` (and never more than
  /// `line` holds).  Returns false at the end of the file when nothing was read.
  bool read(TextBuffer& line, std::size_t max_characters);

  /// Whether the piece last read ended its line; false when more of the line follows.
  bool line_ended() const { return line_ended_; }

  /// Reads past the rest of the line whose piece was read last, so that no
  /// part of it is taken for a line of its own; returns how many characters
  /// that rest held (0 when the piece ended its line).
  std::size_t skip_rest_of_line();

 private:
  int next();
  void push_back(int c) { pushed_[pushed_count_++] = c; }
  /// Takes a line end that directly follows a full piece, so that a line of
  /// exactly the piece length gives no extra empty piece.  Returns whether the
  /// line ended there (the end of the file counts).
  bool take_line_end();

  std::FILE* file_;
  std::uint64_t bytes_read_ = 0;
  int pushed_[2] = {0, 0};
  int pushed_count_ = 0;
  bool line_ended_ = true;
};
