// The eleven labelled lines of a profile and how a line splits into label and value.
#pragma once

#include <cstddef>
#include <string_view>

#include "common/bounded_text.h"
#include "config/system_entry.h"

/// The fields of a profile, in the order a profile usually lists them;
/// `count` is none, but their number.
enum class ProfileField {
  Extcompany,
  Destination,
  Client,
  User,
  Password,
  Language,
  Mode,
  Hostname,
  Sysnr,
  Gwhost,
  Gwservice,
  count
};

/// Number of fields, for tables indexed by ProfileField.
inline constexpr std::size_t profile_field_count = static_cast<std::size_t>(ProfileField::count);

/// Characters a label takes (columns 0 to 11), dot fillers and colon included.
inline constexpr std::size_t profile_label_length = 12;

/// Column at which a value begins; column 12 between label and value is not examined.
inline constexpr std::size_t profile_value_column = 13;

/// Most characters a value can have, whatever the line holds after it.
inline constexpr std::size_t profile_value_length = 60;

/// Every field, in profile order, for loops over all of them.
inline constexpr ProfileField all_profile_fields[] = {
    ProfileField::Extcompany, ProfileField::Destination, ProfileField::Client,    ProfileField::User,
    ProfileField::Password,   ProfileField::Language,    ProfileField::Mode,      ProfileField::Hostname,
    ProfileField::Sysnr,      ProfileField::Gwhost,      ProfileField::Gwservice,
};

/// The field's label, exactly as a profile must write it.
std::string_view profile_label(ProfileField field);

/// Fewest characters a valid profile gives the field.
std::size_t minimum_length(ProfileField field);

/// Position of the field in tables indexed by field.
inline constexpr std::size_t field_index(ProfileField field) { return static_cast<std::size_t>(field); }

/// The entry's text for the field (for Hostname the connection host name).
TextBuffer& entry_field(SystemEntry& entry, ProfileField field);
/// The entry's text for the field, read-only.
const TextBuffer& entry_field(const SystemEntry& entry, ProfileField field);

/// Finds the field whose label the line begins with (case-sensitively); false
/// for every other line.
bool find_profile_label(std::string_view line, ProfileField& field);

/// The value of a labelled line: column 13 onwards, at most 60 characters;
/// empty when the line ends before column 13.
std::string_view profile_value(std::string_view line);

/// Writes the line a profile holds for a field: the label, a blank, the value.
void format_profile_line(ProfileField field, std::string_view value, TextBuffer& line);
