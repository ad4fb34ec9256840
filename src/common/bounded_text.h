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

/// The capacity-independent part of a bounded text, so that functions can take
/// any bounded text by reference.
class TextBuffer {
 public:
  TextBuffer(const TextBuffer&) = delete;
  TextBuffer& operator=(const TextBuffer&) = delete;

  /// Number of characters held (the terminating NUL not counted).
  std::size_t size() const { return size_; }
  /// Most characters the text can hold.
  std::size_t capacity() const { return capacity_; }
  /// Characters that can still be appended.
  std::size_t room() const { return capacity_ - size_; }
  bool empty() const { return size_ == 0; }
  const char* c_str() const { return data_; }
  std::string_view view() const { return std::string_view(data_, size_); }
  char operator[](std::size_t index) const { return index < size_ ? data_[index] : '\0'; }

  /// Empties the text.
  void clear();
  /// Replaces the content; cuts at the capacity and returns false when cut.
  bool assign(std::string_view text);
  /// Appends; cuts at the capacity and returns false when cut.
  bool append(std::string_view text);
  /// Appends one character; returns false (and appends nothing) when full.
  bool append(char c);
  /// Replaces the content with the whole text or, when it does not fit,
  /// empties it and returns false.
  [[nodiscard]] bool assign_whole(std::string_view text) {
    clear();
    return append_whole(text);
  }
  /// Appends the whole text or, when it does not fit, nothing at all and returns false.
  [[nodiscard]] bool append_whole(std::string_view text);
  /// Appends printf-formatted text; cuts at the capacity, returns false when cut.
  bool appendf(const char* format, ...) QUENMAREL_PRINTF(2, 3);
  /// Replaces the content with printf-formatted text; cuts like appendf.
  bool assignf(const char* format, ...) QUENMAREL_PRINTF(2, 3);
  /// Keeps the first `length` characters (no effect when already shorter).
  void cut_at(std::size_t length);
  /// Removes the first `count` characters (all of them when there are fewer).
  void drop_front(std::size_t count);
  /// Overwrites one held character; positions at or past the end are ignored.
  void set_char(std::size_t index, char c);
  /// Replaces every occurrence of one character by another.
  void replace_all(char from, char to);
  /// Turns the letters a to z into A to Z; every other byte stays.
  void to_upper();

  bool equals(std::string_view text) const { return view() == text; }
  bool starts_with(std::string_view text) const { return view().substr(0, text.size()) == text; }
  bool ends_with(char c) const { return size_ > 0 && data_[size_ - 1] == c; }
  bool contains(std::string_view text) const { return find(text) != npos; }
  /// Position of the first occurrence, or npos.
  std::size_t find(std::string_view text) const { return view().find(text); }
  std::size_t find(char c) const { return view().find(c); }

  static constexpr std::size_t npos = std::string_view::npos;

 protected:
  TextBuffer(char* storage, std::size_t capacity) : data_(storage), capacity_(capacity) { data_[0] = '\0'; }
  ~TextBuffer() = default;

 private:
  bool vappendf(const char* format, std::va_list args);

  char* data_;
  std::size_t capacity_;
  std::size_t size_ = 0;
};

/// A text of at most `Capacity` characters in `Capacity + 1` bytes of its own.
template <std::size_t Capacity>
class BoundedText : public TextBuffer {
 public:
  /// The capacity, for texts sized after this one.
  static constexpr std::size_t max_length = Capacity;

  BoundedText() : TextBuffer(storage_, Capacity) {}
  explicit BoundedText(std::string_view text) : TextBuffer(storage_, Capacity) { assign(text); }
  BoundedText(const BoundedText& other) : TextBuffer(storage_, Capacity) { assign(other.view()); }
  BoundedText& operator=(const BoundedText& other) {
    if (this != &other) assign(other.view());
    return *this;
  }

 private:
  char storage_[Capacity + 1];
};
