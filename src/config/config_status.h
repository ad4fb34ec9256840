// How a configuration reader ends: success, or the numbered message that
// refuses the run.  The readers return it and the driver decides what follows,
// so that a tool can use the same readers without ending its process.
#pragma once

#include <cstddef>
#include <string_view>

#include "common/bounded_text.h"
#include "common/numbered_errors.h"
#include "config/profile_location.h"

/// Room for the longest name a message carries (a profile path) between the
/// longest prefix and suffix.
inline constexpr std::size_t config_message_capacity = profile_path_capacity + 96;

/// Success, or a refusal with its message, which begins with the error number.
class [[nodiscard]] ConfigStatus {
 public:
  /// Success.
  ConfigStatus() = default;
  /// A refusal with the message of `error` carrying `name`.
  explicit ConfigStatus(NumberedError error, std::string_view name = {}) {
    write_numbered_error(error, name, message_);
  }

  bool ok() const { return message_.empty(); }
  /// The refusal's message; empty on success.
  std::string_view message() const { return message_.view(); }

 private:
  BoundedText<config_message_capacity> message_;
};
