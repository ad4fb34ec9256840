#include "common/bounded_text.h"

#include <cstdio>
#include <cstring>

#include "common/ascii.h"

template <typename Char>
void BasicTextBuffer<Char>::clear() {
  size_ = 0;
  data_[0] = Char();
}

template <typename Char>
bool BasicTextBuffer<Char>::assign(View text) {
  clear();
  return append(text);
}

template <typename Char>
bool BasicTextBuffer<Char>::append(View text) {
  const std::size_t taken = text.size() < room() ? text.size() : room();
  if (taken > 0) std::memcpy(data_ + size_, text.data(), taken * sizeof(Char));
  size_ += taken;
  data_[size_] = Char();
  return taken == text.size();
}

template <typename Char>
bool BasicTextBuffer<Char>::append(Char c) {
  if (room() == 0) return false;
  data_[size_++] = c;
  data_[size_] = Char();
  return true;
}

template <typename Char>
bool BasicTextBuffer<Char>::append_whole(View text) {
  if (text.size() > room()) return false;
  return append(text);
}

template <typename Char>
void BasicTextBuffer<Char>::cut_at(std::size_t length) {
  if (length >= size_) return;
  size_ = length;
  data_[size_] = Char();
}

template <typename Char>
void BasicTextBuffer<Char>::drop_front(std::size_t count) {
  if (count > size_) count = size_;
  std::memmove(data_, data_ + count, (size_ - count + 1) * sizeof(Char));
  size_ -= count;
}

template <typename Char>
void BasicTextBuffer<Char>::set_char(std::size_t index, Char c) {
  if (index < size_) data_[index] = c;
}

template <typename Char>
void BasicTextBuffer<Char>::replace_all(Char from, Char to) {
  for (std::size_t i = 0; i < size_; ++i)
    if (data_[i] == from) data_[i] = to;
}

template <>
bool BasicTextBuffer<char>::vappendf(const char* format, std::va_list args) {
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

template <>
QUENMAREL_PRINTF(2, 3)
bool BasicTextBuffer<char>::appendf(const char* format, ...) {
  std::va_list args;
  va_start(args, format);
  const bool whole = vappendf(format, args);
  va_end(args);
  return whole;
}

template <>
QUENMAREL_PRINTF(2, 3)
bool BasicTextBuffer<char>::assignf(const char* format, ...) {
  clear();
  std::va_list args;
  va_start(args, format);
  const bool whole = vappendf(format, args);
  va_end(args);
  return whole;
}

template <>
void BasicTextBuffer<char>::to_upper() {
  for (std::size_t i = 0; i < size_; ++i) data_[i] = ascii_upper(data_[i]);
}

// The two kinds of text there are: the 8-bit texts of the sensor and the
// classic interface, and the UTF-16 units of the NetWeaver interface.
template class BasicTextBuffer<char>;
template class BasicTextBuffer<char16_t>;
