#include "config/profile_labels.h"

namespace {

struct FieldRule {
  std::string_view label;
  std::size_t minimum;
};

// Indexed by ProfileField.
constexpr FieldRule field_rules[profile_field_count] = {
    {"Extcompany.:", 2}, {"Destination:", 3}, {"Client.....:", 3}, {"User.......:", 2},
    {"Password...:", 2}, {"Language...:", 1}, {"Mode.......:", 3}, {"Hostname...:", 2},
    {"Sysnr......:", 2}, {"Gwhost.....:", 2}, {"Gwservice..:", 2},
};

}  // namespace

const ProfileField all_profile_fields[profile_field_count] = {
    ProfileField::Extcompany, ProfileField::Destination, ProfileField::Client,    ProfileField::User,
    ProfileField::Password,   ProfileField::Language,    ProfileField::Mode,      ProfileField::Hostname,
    ProfileField::Sysnr,      ProfileField::Gwhost,      ProfileField::Gwservice,
};

std::string_view profile_label(ProfileField field) { return field_rules[field_index(field)].label; }

std::size_t minimum_length(ProfileField field) { return field_rules[field_index(field)].minimum; }

TextBuffer& entry_field(SystemEntry& entry, ProfileField field) {
  switch (field) {
    case ProfileField::Extcompany:
      return entry.extcompany;
    case ProfileField::Destination:
      return entry.destination;
    case ProfileField::Client:
      return entry.client;
    case ProfileField::User:
      return entry.user;
    case ProfileField::Password:
      return entry.password;
    case ProfileField::Language:
      return entry.language;
    case ProfileField::Mode:
      return entry.mode;
    case ProfileField::Hostname:
      return entry.hostname;
    case ProfileField::Sysnr:
      return entry.sysnr;
    case ProfileField::Gwhost:
      return entry.gwhost;
    case ProfileField::Gwservice:
      return entry.gwservice;
  }
  return entry.extcompany;
}

const TextBuffer& entry_field(const SystemEntry& entry, ProfileField field) {
  return entry_field(const_cast<SystemEntry&>(entry), field);
}

bool find_profile_label(std::string_view line, ProfileField& field) {
  const std::string_view label = line.substr(0, profile_label_length);
  for (ProfileField candidate : all_profile_fields) {
    if (profile_label(candidate) == label) {
      field = candidate;
      return true;
    }
  }
  return false;
}

std::string_view profile_value(std::string_view line) {
  if (line.size() <= profile_value_column) return std::string_view();
  return line.substr(profile_value_column, profile_value_length);
}

void format_profile_line(ProfileField field, std::string_view value, TextBuffer& line) {
  line.assign(profile_label(field));
  line.append(' ');
  line.append(value);
}
