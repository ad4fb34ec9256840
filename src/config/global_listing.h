// The listing of an item-mode run: which profiles to measure, which item, and
// how to name each system's channel.
#pragma once

#include <string_view>

struct RunState;

/// The item profile, read when the option "ITEM=" is given.
inline constexpr std::string_view item_profile_name = "Gastrelo.Prf";

/// The global listing file, read when the profile name is GLOBAL.
inline constexpr std::string_view global_listing_name = "SAP Gastrelo.Gbl";

/// Closes the profile `open_profile` opened, reads `profile_path` as a listing
/// and sets `server_listing`, `item_name` and `key_kind` (and, from the global
/// listing file, `given_options`).  Returns only when the listing and the item
/// are non-empty; every failure ends the run (errors 1024 to 1030).
void load_global_listing(RunState& state);
