// The listing of an item-mode run: which profiles to measure, which item, and
// how to name each system's channel.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string_view>

#include "common/run_options.h"
#include "config/config_status.h"
#include "config/item_name.h"
#include "config/profile_location.h"
#include "config/system_entry.h"

/// The item profile, read when the option "ITEM=" is given.
inline constexpr std::string_view item_profile_name = "Gastrelo.Prf";

/// The global listing file, read when the profile name is GLOBAL.
inline constexpr std::string_view global_listing_name = "SAP Gastrelo.Gbl";

/// Most characters of a listing; a longer one is refused (error 1027).
inline constexpr std::size_t server_listing_capacity = 2047;

/// Most characters of a listing file's line, read whole; a longer line of the
/// run is refused (error 1035), every other one read past.
inline constexpr std::size_t listing_line_capacity = 4095;

/// How an item-mode run names each listed system's channel.
enum class KeyKind { Profile, Alias, Host, Sid };

/// What an item-mode run measures, and on which systems.
struct ItemListing {
  /// Profile file names, each ended by "#".
  BoundedText<server_listing_capacity> server_listing;
  /// The channel name of the value measured on every system.
  ItemName item_name;
  /// How each system's channel is named.
  KeyKind key_kind = KeyKind::Profile;
};

/// Writes the channel name of the listed system `name` whose profile gave
/// `entry`, as `key_kind` asks: the name, the name without its extension, the
/// host or the destination.
void form_channel_key(KeyKind key_kind, std::string_view name, const SystemEntry& entry, TextBuffer& key);

/// Takes the next name from the front of `server_listing` into `name`; a last
/// name without its "#" still counts.  False when the name is empty or longer
/// than a file name may be, for no profile can be opened by it.
bool take_next_listed_name(ItemListing& listing, ProfileFileName& name);

/// Told the sensor word of a line of the global listing file, with the
/// context given to visit_sensor_words.
using SensorWordVisitor = void (*)(std::string_view sensor_word, void* context);

/// Tells `visit`, for each listing or entry line of the open global listing
/// file, the sensor word a run must be given after GLOBAL to take the line
/// (its columns 8 to 17 without the blanks after the word; any case).  A
/// line that no sensor word reaches (shorter than its key, or a word with a
/// blank inside) is not told.
void visit_sensor_words(std::FILE* file, SensorWordVisitor visit, void* context);

/// Reads `profile_path` as a listing and sets `server_listing`, `key_kind`
/// and, from the global listing file, `item_name` and `given_options`.
/// Refuses a listing or an item that ends up empty, and every other defect of
/// the listing (errors 1024 to 1030).
ConfigStatus load_global_listing(const ProfileLocation& location, RunOptions& options, ItemListing& listing);
