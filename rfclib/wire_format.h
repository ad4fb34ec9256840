// Frames of the exchange between the RFC library and the application server
// (rfclib/PROTOCOL.md): a kind, a length, and fields that carry their length.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

/// Bytes before a frame's payload: the kind and the two-byte payload length.
inline constexpr std::size_t frame_header_size = 3;
/// Largest payload a frame may carry; a longer one is a protocol error.
inline constexpr std::size_t frame_payload_limit = 4096;

/// The kinds of frame, one ASCII letter each; a received frame may carry any
/// other byte, which is no kind of ours.
enum class FrameKind : unsigned char {
  Logon = 'L',
  LogonAccepted = 'A',
  LogonRejected = 'J',
  Call = 'C',
  Reply = 'R',
  Abort = 'X',
};

/// A frame being built; a field that does not fit is refused whole, so a
/// frame never carries half a value.
class FrameWriter {
 public:
  /// Starts a frame of `kind` with an empty payload.
  explicit FrameWriter(FrameKind kind);
  /// Appends a text field; false (and nothing appended) when it does not fit.
  bool put_text(std::string_view text);
  /// Appends an int field; false (and nothing appended) when it does not fit.
  bool put_int(std::int32_t value);
  /// The whole frame, header included.
  const unsigned char* bytes() const { return bytes_; }
  /// Size of the whole frame, header included.
  std::size_t size() const { return size_; }

 private:
  bool reserve(std::size_t count);

  unsigned char bytes_[frame_header_size + frame_payload_limit];
  std::size_t size_;
};

/// Reads the fields of a received payload in order; a read past the payload's
/// end fails and leaves the reader where it was.
class FieldReader {
 public:
  /// Reads from `size` bytes at `payload`, which must outlive the reader.
  FieldReader(const unsigned char* payload, std::size_t size) : payload_(payload), size_(size) {}
  /// Takes the next text field; the view points into the payload.
  bool get_text(std::string_view* text);
  /// Takes the next int field.
  bool get_int(std::int32_t* value);
  /// True when every field has been taken.
  bool at_end() const { return position_ == size_; }
  /// Bytes not yet taken.
  std::size_t remaining() const { return size_ - position_; }

 private:
  const unsigned char* payload_;
  std::size_t size_;
  std::size_t position_ = 0;
};

/// Reads kind and payload length from a frame header; false when the length
/// exceeds frame_payload_limit.
bool parse_frame_header(const unsigned char* header, FrameKind* kind, std::size_t* payload_size);
