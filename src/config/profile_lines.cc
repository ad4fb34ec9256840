#include "config/profile_lines.h"

#include "config/password.h"

namespace {

ProfileLineOutcome read_password(std::string_view value, SystemEntry& entry) {
  if (value.empty()) {
    entry.password.clear();
    return ProfileLineOutcome::Stored;
  }
  switch (descramble_password(value, entry.password)) {
    case PasswordOutcome::Descrambled:
      return ProfileLineOutcome::Stored;
    case PasswordOutcome::FormatFailure:
      return ProfileLineOutcome::PasswordFormatFailure;
    case PasswordOutcome::CheckFailure:
      return ProfileLineOutcome::PasswordCheckFailure;
  }
  return ProfileLineOutcome::PasswordFormatFailure;
}

// A value that does not fit is refused, not cut: a cut destination or host
// could name another system, and the field left empty can never be taken for
// a valid one (nor keep a value an earlier listed profile gave it).
ProfileLineOutcome store_value(std::string_view value, TextBuffer& field) {
  return field.assign_whole(value) ? ProfileLineOutcome::Stored : ProfileLineOutcome::TooLong;
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

}  // namespace

ProfileLineOutcome read_profile_line(std::string_view line, SystemEntry& entry, ProfileFindings& findings) {
  ProfileField field;
  if (!find_profile_label(line, field)) return ProfileLineOutcome::Ignored;
  const std::string_view value = profile_value(line);
  const std::size_t index = field_index(field);
  findings.seen[index] = true;
  findings.value_length[index] = value.size();
  findings.column_12_filled[index] = line.size() > profile_label_length && line[profile_label_length] != ' ';

  ProfileLineOutcome outcome;
  if (field == ProfileField::Password) {
    outcome = read_password(value, entry);
  } else {
    outcome = store_value(value, entry_field(entry, field));
    if (field == ProfileField::User) entry.user.to_upper();
    if (field == ProfileField::Hostname) entry.display_hostname = entry.hostname;
  }
  findings.too_long[index] = outcome == ProfileLineOutcome::TooLong;
  if (findings.first_password_defect == ProfileDefect::None) findings.first_password_defect = password_defect(outcome);
  return outcome;
}

ProfileDefect password_defect(ProfileLineOutcome outcome) {
  if (outcome == ProfileLineOutcome::PasswordFormatFailure) return ProfileDefect::InvalidPassword;
  if (outcome == ProfileLineOutcome::PasswordCheckFailure) return ProfileDefect::WrongPassword;
  return ProfileDefect::None;
}

ProfileDefect profile_verdict(const SystemEntry& entry, const ProfileFindings& findings) {
  if (findings.first_password_defect != ProfileDefect::None) return findings.first_password_defect;
  return first_entry_defect(entry, findings);
}

ConfigStatus profile_defect_status(ProfileDefect defect, std::string_view profile_file_name) {
  switch (defect) {
    case ProfileDefect::None:
      break;
    case ProfileDefect::InvalidParameter:
      return ConfigStatus(NumberedError::InvalidParameter, profile_file_name);
    case ProfileDefect::InvalidPassword:
      return ConfigStatus(NumberedError::InvalidPassword, profile_file_name);
    case ProfileDefect::WrongPassword:
      return ConfigStatus(NumberedError::WrongPassword, profile_file_name);
    case ProfileDefect::UserMissing:
      return ConfigStatus(NumberedError::UserMissing, profile_file_name);
    case ProfileDefect::PasswordMissing:
      return ConfigStatus(NumberedError::PasswordMissing, profile_file_name);
  }
  return ConfigStatus();
}
