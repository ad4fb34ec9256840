#include "common/bounded_text.h"

#include <cstdio>
#include <cstring>

#include "common/ascii.h"

void TextBuffer::clear() {
  size_ = 0;
  data_[0] = '\0';
}

bool TextBuffer::assign(std::string_view text) {
  clear();
  return append(text);
}

bool TextBuffer::append(std::string_view text) {
  const std::size_t taken = text.size() < room() ? text.size() : room();
  if (taken > 0) std::memcpy(data_ + size_, text.data(), taken);
  size_ += taken;
  data_[size_] = '\0';
  return taken == text.size();
}

bool TextBuffer::append(char c) {
  if (room() == 0) return false;
  data_[size_++] = c;
  data_[size_] = '\0';
  return true;
}

bool TextBuffer::append_whole(std::string_view text) {
  if (text.size() > room()) return false;
  return append(text);
}

bool TextBuffer::vappendf(const char* format, std::va_list args) {
  // vsnprintf writes at most room() characters and the NUL, which the
  // storage always has space for (it holds capacity + 1 bytes).
  const int wanted = std::vsnprintf(data_ + size_, room() + 1, format, args);
  if (wanted < 0) {
    data_[size_] = '\0';
    return false;
  }
  const std::size_t fitted = static_cast<std::size_t>(wanted) < room() ? static_cast<std::size_t>(wanted) : room();
  size_ += fitted;
  data_[size_] = '\0';
  return fitted == static_cast<std::size_t>(wanted);
}

bool TextBuffer::appendf(const char* format, ...) {
  std::va_list args;
  va_start(args, format);
  const bool whole = vappendf(format, args);
  va_end(args);
  return whole;
}

bool TextBuffer::assignf(const char* format, ...) {
  clear();
  std::va_list args;
  va_start(args, format);
  const bool whole = vappendf(format, args);
  va_end(args);
  return whole;
}

void TextBuffer::cut_at(std::size_t length) {
  if (length >= size_) return;
  size_ = length;
  data_[size_] = '\0';
}

void TextBuffer::drop_front(std::size_t count) {
  if (count > size_) count = size_;
  std::memmove(data_, data_ + count, size_ - count + 1);
  size_ -= count;
}

void TextBuffer::set_char(std::size_t index, char c) {
  if (index < size_) data_[index] = c;
}

void TextBuffer::replace_all(char from, char to) {
  for (std::size_t i = 0; i < size_; ++i)
    if (data_[i] == from) data_[i] = to;
}

void TextBuffer::to_upper() {
  for (std::size_t i = 0; i < size_; ++i) data_[i] = ascii_upper(data_[i]);
}
