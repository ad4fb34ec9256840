// Fixed-capacity, always NUL-terminated text.
//
// Every buffer of a run is one of these, so no write can pass its end.  Each
// caller decides where it writes whether over-long input is cut (`assign`,
// `append`, which report a cut) or refused (`assign_whole`, `append_whole`).
#pragma once

#include <cstdarg>
#include <cstddef>
#include <string_view>

#if defined(__GNUC__)
#define QUENMAREL_PRINTF(fmt, args) __attribute__((format(printf, fmt, args)))
#else
#define QUENMAREL_PRINTF(fmt, args)
#endif

/// The capacity-independent part of a bounded text of `Char` (8-bit text, or
/// the UTF-16 units of the NetWeaver interface), so that functions can take
/// any bounded text by reference.
template <typename Char>
class BasicTextBuffer {
 public:
  /// The text held, as a view.
  using View = std::basic_string_view<Char>;

  BasicTextBuffer(const BasicTextBuffer&) = delete;
  BasicTextBuffer& operator=(const BasicTextBuffer&) = delete;

  /// Number of characters held (the terminating NUL not counted).
  std::size_t size() const { return size_; }
  /// Most characters the text can hold.
  std::size_t capacity() const { return capacity_; }
  /// Characters that can still be appended.
  std::size_t room() const { return capacity_ - size_; }
  bool empty() const { return size_ == 0; }
  const Char* c_str() const { return data_; }
  View view() const { return View(data_, size_); }
  Char operator[](std::size_t index) const { return index < size_ ? data_[index] : Char(); }

  /// Empties the text.
  void clear();
  /// Replaces the content; cuts at the capacity and returns false when cut.
  bool assign(View text);
  /// Appends; cuts at the capacity and returns false when cut.
  bool append(View text);
  /// Appends one character; returns false (and appends nothing) when full.
  bool append(Char c);
  /// Replaces the content with the whole text or, when it does not fit,
  /// empties it and returns false.
  [[nodiscard]] bool assign_whole(View text) {
    clear();
    return append_whole(text);
  }
  /// Appends the whole text or, when it does not fit, nothing at all and returns false.
  [[nodiscard]] bool append_whole(View text);
  /// Appends printf-formatted text; cuts at the capacity, returns false when
  /// cut.  8-bit text only.
  bool appendf(const char* format, ...) QUENMAREL_PRINTF(2, 3);
  /// Replaces the content with printf-formatted text; cuts like appendf.
  /// 8-bit text only.
  bool assignf(const char* format, ...) QUENMAREL_PRINTF(2, 3);
  /// Keeps the first `length` characters (no effect when already shorter).
  void cut_at(std::size_t length);
  /// Removes the first `count` characters (all of them when there are fewer).
  void drop_front(std::size_t count);
  /// Overwrites one held character; positions at or past the end are ignored.
  void set_char(std::size_t index, Char c);
  /// Replaces every occurrence of one character by another.
  void replace_all(Char from, Char to);
  /// Turns the letters a to z into A to Z; every other byte stays.  8-bit text only.
  void to_upper();

  bool equals(View text) const { return view() == text; }
  bool starts_with(View text) const { return view().substr(0, text.size()) == text; }
  bool ends_with(Char c) const { return size_ > 0 && data_[size_ - 1] == c; }
  bool contains(View text) const { return find(text) != npos; }
  /// Position of the first occurrence, or npos.
  std::size_t find(View text) const { return view().find(text); }
  std::size_t find(Char c) const { return view().find(c); }

  static constexpr std::size_t npos = View::npos;

 protected:
  BasicTextBuffer(Char* storage, std::size_t capacity) : data_(storage), capacity_(capacity) { data_[0] = Char(); }
  ~BasicTextBuffer() = default;

 private:
  bool vappendf(const char* format, std::va_list args);

  Char* data_;
  std::size_t capacity_;
  std::size_t size_ = 0;
};

/// A text of at most `Capacity` characters in `Capacity + 1` characters of its own.
template <typename Char, std::size_t Capacity>
class BasicBoundedText : public BasicTextBuffer<Char> {
 public:
  /// The capacity, for texts sized after this one.
  static constexpr std::size_t max_length = Capacity;

  BasicBoundedText() : BasicTextBuffer<Char>(storage_, Capacity) {}
  explicit BasicBoundedText(std::basic_string_view<Char> text) : BasicTextBuffer<Char>(storage_, Capacity) {
    this->assign(text);
  }
  BasicBoundedText(const BasicBoundedText& other) : BasicTextBuffer<Char>(storage_, Capacity) {
    this->assign(other.view());
  }
  BasicBoundedText& operator=(const BasicBoundedText& other) {
    if (this != &other) this->assign(other.view());
    return *this;
  }

 private:
  Char storage_[Capacity + 1];
};

/// Any 8-bit bounded text, by reference.
using TextBuffer = BasicTextBuffer<char>;

/// An 8-bit text of at most `Capacity` characters.
template <std::size_t Capacity>
using BoundedText = BasicBoundedText<char, Capacity>;

// The members that exist for 8-bit text only; bounded_text.cc defines them,
// and the rest of each buffer for both kinds of character.
template <>
bool BasicTextBuffer<char>::appendf(const char* format, ...) QUENMAREL_PRINTF(2, 3);
template <>
bool BasicTextBuffer<char>::assignf(const char* format, ...) QUENMAREL_PRINTF(2, 3);
template <>
bool BasicTextBuffer<char>::vappendf(const char* format, std::va_list args);
template <>
void BasicTextBuffer<char>::to_upper();
