// The reply to a call: its fields, and its values checked against and stored
// into the caller's receiving parameters.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "rfc_library.h"

/// A decoded reply frame; the values stay in the payload until stored.
struct Reply {
  std::int32_t result_code = 0;
  std::string_view text;
  std::int32_t value_count = 0;
  const unsigned char* values = nullptr;
  std::size_t values_size = 0;
};

/// Reads a reply's payload of `size` bytes; false when its fields do not fill
/// it exactly.  The reply points into `payload`.
bool decode_reply(const unsigned char* payload, std::size_t size, Reply& reply);

/// How the values of a reply answer the receiving parameters.
enum class ReplyValues { Complete, Missing, Repeated };

/// Checks that the reply holds the value of each receiving parameter exactly
/// once; otherwise `*name` is the first parameter, in the caller's order, that
/// is missing or repeated.  Values no parameter asks for do not count.
ReplyValues check_reply_values(const Reply& reply, const rfc_parameter* receiving, std::string_view* name);

/// Stores each value of the reply into the receiving parameter of that name.
/// A parameter that is not a four-byte integer stays untouched.
void store_values(const Reply& reply, rfc_parameter* receiving);
