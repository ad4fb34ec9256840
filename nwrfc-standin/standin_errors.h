// The errors the stand-in NetWeaver library reports through RFC_ERROR_INFO.
//
// Keys are short lower-case phrases naming what happened, and messages the
// details, in the words the stand-in classic library uses for the same
// situations; so the bridge's trace blocks can be compared with its blocks
// byte for byte.
#pragma once

#include <string_view>

#include "nwrfc_library.h"

/// Fills `error` (when given) with a failure: code, group, key and message,
/// each text cut before the first character its field cannot hold.
void set_error(RFC_ERROR_INFO* error, RFC_RC code, RFC_ERROR_GROUP group, std::string_view key,
               std::string_view message);

/// Fills `error` (when given) with success.
void clear_error(RFC_ERROR_INFO* error);
