#include "common/line_reader.h"

int LineReader::next() {
  if (pushed_count_ > 0) return pushed_[--pushed_count_];
  if (bytes_read_ == text_file_byte_bound) return EOF;
  ++bytes_read_;
  return std::getc(file_);
}

bool LineReader::take_line_end() {
  const int c = next();
  if (c == '\n' || c == EOF) return true;
  if (c == '\r') {
    const int after = next();
    if (after == '\n') return true;
    if (after != EOF) push_back(after);
  }
  push_back(c);
  return false;
}

bool LineReader::read(TextBuffer& line, std::size_t max_characters) {
  line.clear();
  if (max_characters > line.capacity()) max_characters = line.capacity();
  if (max_characters == 0) return false;
  bool read_anything = false;
  line_ended_ = true;
  while (line.size() < max_characters) {
    int c = next();
    if (c == EOF) return read_anything;
    read_anything = true;
    if (c == '\n') return true;
    if (c == '\r') {
      const int after = next();
      if (after == '\n') return true;
      if (after != EOF) push_back(after);
    }
    if (c != '\0') line.append(static_cast<char>(c));
  }
  line_ended_ = take_line_end();
  return true;
}

std::size_t LineReader::skip_rest_of_line() {
  std::size_t skipped = 0;
  while (!line_ended_) {
    const int c = next();
    if (c == EOF || c == '\n') break;
    if (c == '\r') {
      const int after = next();
      if (after == '\n') break;
      if (after != EOF) push_back(after);
    }
    if (c != '\0') ++skipped;
  }
  line_ended_ = true;
  return skipped;
}
