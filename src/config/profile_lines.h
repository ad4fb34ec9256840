// What the lines of a profile give the entry, and whether the entry is complete.
//
// Shared by the sensor's reading of a profile and by the profile tool's check,
// so that both judge a profile alike.
#pragma once

#include <string_view>

#include "config/config_status.h"
#include "config/profile_labels.h"
#include "config/system_entry.h"

/// A defect that makes a single-system run refuse its profile.
enum class ProfileDefect {
  None,
  /// Error 1003: a field shorter than its minimum, or refused as too long.
  InvalidParameter,
  /// Error 1004: a stored password of the wrong length or with a bad header.
  InvalidPassword,
  /// Error 1005: a stored password whose check digit does not match.
  WrongPassword,
  /// Error 1006: no user.
  UserMissing,
  /// Error 1007: no password.
  PasswordMissing,
};

/// What reading one profile noted beyond the values themselves.
struct ProfileFindings {
  /// The field's label occurred at least once.
  bool seen[profile_field_count] = {};
  /// The field's last value was longer than the field holds, so it was refused.
  bool too_long[profile_field_count] = {};
  /// The field's last line held something else than a blank in column 12,
  /// which is not examined, so the value lost the character written there.
  bool column_12_filled[profile_field_count] = {};
  /// Length of the field's last value as the profile holds it.
  std::size_t value_length[profile_field_count] = {};
  /// The defect of the first password line that failed; None when none did.
  ProfileDefect first_password_defect = ProfileDefect::None;
};

/// What one line (or piece of a line) did.
enum class ProfileLineOutcome {
  /// Not a labelled line.
  Ignored,
  /// The value is in its field.
  Stored,
  /// The value is longer than its field; the field is left empty.
  TooLong,
  /// The stored password has the wrong length or header; the password is left empty.
  PasswordFormatFailure,
  /// The stored password's check digit does not match; the password is left empty.
  PasswordCheckFailure,
};

/// Stores the value of a labelled line in its field, processed as the field
/// wants it (user upper-cased, password de-scrambled, host name twice), and
/// notes it (and a password failure) in `findings`.
ProfileLineOutcome read_profile_line(std::string_view line, SystemEntry& entry, ProfileFindings& findings);

/// The defect a password failure of one line stands for; None for other outcomes.
ProfileDefect password_defect(ProfileLineOutcome outcome);

/// The defect the sensor refuses a whole profile for: the first password
/// failure, else user empty, password empty, then any field shorter than its
/// minimum or refused as too long.
ProfileDefect profile_verdict(const SystemEntry& entry, const ProfileFindings& findings);

/// The run's refusal for a defect of the profile `profile_file_name`; success for None.
ConfigStatus profile_defect_status(ProfileDefect defect, std::string_view profile_file_name);
