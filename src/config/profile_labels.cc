#include "config/profile_labels.h"

#include <iterator>

#include "common/enum_table.h"

namespace {

using F = ProfileField;

struct FieldRule {
  ProfileField field;
  std::string_view label;
  std::size_t minimum;
};

// One rule per field, in the order of ProfileField.
constexpr FieldRule field_rules[] = {
    {F::Extcompany, "Extcompany.:", 2}, {F::Destination, "Destination:", 3}, {F::Client, "Client.....:", 3},
    {F::User, "User.......:", 2},       {F::Password, "Password...:", 2},    {F::Language, "Language...:", 1},
    {F::Mode, "Mode.......:", 3},       {F::Hostname, "Hostname...:", 2},    {F::Sysnr, "Sysnr......:", 2},
    {F::Gwhost, "Gwhost.....:", 2},     {F::Gwservice, "Gwservice..:", 2},
};

static_assert(std::size(field_rules) == profile_field_count, "one rule per field");
static_assert(std::size(all_profile_fields) == profile_field_count, "every field in the list of all");
static_assert(rows_in_value_order(field_rules, &FieldRule::field), "the rules in the order of ProfileField");
static_assert(values_in_order(all_profile_fields), "the list of all in the order of ProfileField");

}  // namespace

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
    case ProfileField::count:
      break;
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
