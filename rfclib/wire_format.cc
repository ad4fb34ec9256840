#include "wire_format.h"

#include <cstring>

FrameWriter::FrameWriter(FrameKind kind) : size_(frame_header_size) {
  bytes_[0] = static_cast<unsigned char>(kind);
  bytes_[1] = 0;
  bytes_[2] = 0;
}

bool FrameWriter::reserve(std::size_t count) { return count <= sizeof bytes_ - size_; }

bool FrameWriter::put_text(std::string_view text) {
  if (!reserve(2 + text.size())) return false;
  bytes_[size_++] = static_cast<unsigned char>(text.size() >> 8);
  bytes_[size_++] = static_cast<unsigned char>(text.size() & 0xFF);
  if (!text.empty()) std::memcpy(bytes_ + size_, text.data(), text.size());
  size_ += text.size();
  const std::size_t payload = size_ - frame_header_size;
  bytes_[1] = static_cast<unsigned char>(payload >> 8);
  bytes_[2] = static_cast<unsigned char>(payload & 0xFF);
  return true;
}

bool FrameWriter::put_int(std::int32_t value) {
  if (!reserve(4)) return false;
  const std::uint32_t bits = static_cast<std::uint32_t>(value);
  for (int shift = 24; shift >= 0; shift -= 8) bytes_[size_++] = static_cast<unsigned char>((bits >> shift) & 0xFF);
  const std::size_t payload = size_ - frame_header_size;
  bytes_[1] = static_cast<unsigned char>(payload >> 8);
  bytes_[2] = static_cast<unsigned char>(payload & 0xFF);
  return true;
}

bool FieldReader::get_text(std::string_view* text) {
  if (size_ - position_ < 2) return false;
  const std::size_t length = (static_cast<std::size_t>(payload_[position_]) << 8) | payload_[position_ + 1];
  if (size_ - position_ - 2 < length) return false;
  *text = std::string_view(reinterpret_cast<const char*>(payload_ + position_ + 2), length);
  position_ += 2 + length;
  return true;
}

bool FieldReader::get_int(std::int32_t* value) {
  if (size_ - position_ < 4) return false;
  std::uint32_t bits = 0;
  for (int i = 0; i < 4; ++i) bits = (bits << 8) | payload_[position_ + i];
  *value = static_cast<std::int32_t>(bits);
  position_ += 4;
  return true;
}

bool parse_frame_header(const unsigned char* header, FrameKind* kind, std::size_t* payload_size) {
  *kind = static_cast<FrameKind>(header[0]);
  *payload_size = (static_cast<std::size_t>(header[1]) << 8) | header[2];
  return *payload_size <= frame_payload_limit;
}
