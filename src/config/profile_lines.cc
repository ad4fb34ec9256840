#include "config/profile_lines.h"

#include "config/password.h"

namespace {

ProfileLineOutcome read_password(std::string_view value, SystemEntry& entry) {
  if (value.empty()) {
    entry.password.clear();
    return ProfileLineOutcome::Stored;
  }
  switch (descramble_password(value, entry.password)) {
    case PasswordOutcome::Descrambled: return ProfileLineOutcome::Stored;
    case PasswordOutcome::FormatFailure: return ProfileLineOutcome::PasswordFormatFailure;
    case PasswordOutcome::CheckFailure: return ProfileLineOutcome::PasswordCheckFailure;
  }
  return ProfileLineOutcome::PasswordFormatFailure;
}

// A value that does not fit is refused, not cut: a cut destination or host
// could name another system, and the field left empty can never be taken for
// a valid one (nor keep a value an earlier listed profile gave it).
ProfileLineOutcome store_value(std::string_view value, TextBuffer& field) {
  if (value.size() > field.capacity()) {
    field.clear();
    return ProfileLineOutcome::TooLong;
  }
  field.assign(value);
  return ProfileLineOutcome::Stored;
}

}  // namespace

ProfileLineOutcome read_profile_line(std::string_view line, SystemEntry& entry, ProfileFindings& findings) {
  ProfileField field;
  if (!find_profile_label(line, field)) return ProfileLineOutcome::Ignored;
  const std::string_view value = profile_value(line);
  const std::size_t index = field_index(field);
  findings.seen[index] = true;

  ProfileLineOutcome outcome;
  if (field == ProfileField::Password) {
    outcome = read_password(value, entry);
  } else {
    outcome = store_value(value, entry_field(entry, field));
    if (field == ProfileField::User) entry.user.to_upper();
    if (field == ProfileField::Hostname) entry.display_hostname = entry.hostname;
  }
  findings.too_long[index] = outcome == ProfileLineOutcome::TooLong;
  return outcome;
}

ProfileDefect password_defect(ProfileLineOutcome outcome) {
  if (outcome == ProfileLineOutcome::PasswordFormatFailure) return ProfileDefect::InvalidPassword;
  if (outcome == ProfileLineOutcome::PasswordCheckFailure) return ProfileDefect::WrongPassword;
  return ProfileDefect::None;
}

ProfileDefect first_entry_defect(const SystemEntry& entry, const ProfileFindings& findings) {
  if (entry.user.empty() && !findings.too_long[field_index(ProfileField::User)]) return ProfileDefect::UserMissing;
  if (entry.password.empty()) return ProfileDefect::PasswordMissing;
  for (ProfileField field : all_profile_fields) {
    if (findings.too_long[field_index(field)]) return ProfileDefect::InvalidParameter;
    if (entry_field(entry, field).size() < minimum_length(field)) return ProfileDefect::InvalidParameter;
  }
  return ProfileDefect::None;
}

void write_profile_defect_message(ProfileDefect defect, std::string_view profile_file_name, TextBuffer& message) {
  message.clear();
  switch (defect) {
    case ProfileDefect::None: return;
    case ProfileDefect::InvalidParameter: message.append("Error 1003: Invalid Parameter(s) at "); break;
    case ProfileDefect::InvalidPassword: message.append("Error 1004: Invalid Password in Profile "); break;
    case ProfileDefect::WrongPassword: message.append("Error 1005: Wrong Password in Profile "); break;
    case ProfileDefect::UserMissing: message.append("Error 1006: Username in Profile "); break;
    case ProfileDefect::PasswordMissing: message.append("Error 1007: Password in Profile "); break;
  }
  message.append(profile_file_name);
  const bool missing = defect == ProfileDefect::UserMissing || defect == ProfileDefect::PasswordMissing;
  message.append(missing ? " is missing..." : " found...");
}
