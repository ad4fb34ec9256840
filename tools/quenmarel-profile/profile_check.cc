#include "profile_check.h"

#include <cstdio>

#include "config/password.h"
#include "config/profile_file.h"
#include "config/system_number.h"
#include "platform/files.h"
#include "tool_output.h"

namespace {

std::string quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

std::string characters(std::size_t count) {
  return std::to_string(count) + (count == 1 ? " character" : " characters");
}

std::string password_failure(ProfileLineOutcome outcome, std::size_t stored_length) {
  if (outcome == ProfileLineOutcome::PasswordCheckFailure)
    return "the stored password fails its check digit (scrambled with another key, or altered)";
  if (stored_length != stored_password_length)
    return "the stored password has " + characters(stored_length) + ", a stored password has 24";
  return "the stored password's first four characters are not a valid header";
}

/// The sensor's reading of a profile, and every defect it meets in plain words.
struct ProfileReading {
  ProfileCheck& check;
  ProfileFindings findings;

  // Lines are numbered as the sensor reads them: each piece of a line longer
  // than 99 characters counts as a line of its own.
  void read(std::FILE* file) {
    read_profile_lines(
        file, single_run_line_piece, check.entry, findings, [this](unsigned number, ProfileLineOutcome outcome) {
          if (password_defect(outcome) == ProfileDefect::None) return;
          const std::size_t stored_length = findings.value_length[field_index(ProfileField::Password)];
          check.defects.push_back("line " + std::to_string(number) + ": " + password_failure(outcome, stored_length));
        });
  }

  void check_fields() {
    for (ProfileField field : all_profile_fields) {
      const std::size_t index = field_index(field);
      const std::string label = quoted(profile_label(field));
      const TextBuffer& value = entry_field(check.entry, field);
      if (!findings.seen[index])
        check.defects.push_back("label " + label + " is missing");
      else if (findings.too_long[index])
        check.defects.push_back("the value of " + label + " is too long: " + characters(findings.value_length[index]) +
                                ", at most " + std::to_string(value.capacity()));
      else if (field == ProfileField::Password)
        check_password();
      else if (value.size() < minimum_length(field))
        check.defects.push_back("the value of " + label + " is too short: " + characters(value.size()) + ", at least " +
                                std::to_string(minimum_length(field)));
      else if (field == ProfileField::Sysnr && !is_system_number(value.view()))
        misread(field,
                "is not two digits: " + quoted(value.view()) + ", the sensor connects with system number " +
                    std::to_string(system_number_value(value.view())),
                "write the system number as two digits");
      check_column_12(field);
    }
  }

  // The sensor takes the value from column 13 on, so a value written right
  // after the colon loses its first character: "127.43.0.1" connects to "27.43.0.1".
  void check_column_12(ProfileField field) {
    if (!findings.column_12_filled[field_index(field)] || field == ProfileField::Password) return;
    misread(field,
            "does not stand one blank after the colon: the sensor reads " +
                quoted(without_route_passwords(entry_field(check.entry, field).view())),
            "write the value of " + quoted(profile_label(field)) + " one blank after the colon");
  }

  void misread(ProfileField field, const std::string& found, const std::string& remedy) {
    check.defects.push_back("the value of " + quoted(profile_label(field)) + " " + found);
    check.misreadings.push_back(remedy);
  }

  // A failed password line was reported where it stands and leaves the
  // password empty; only a readable password is judged by its length.
  void check_password() {
    if (findings.first_password_defect != ProfileDefect::None) return;
    if (check.entry.password.empty())
      check.defects.push_back("the value of \"Password...:\" holds no password");
    else if (check.entry.password.size() < minimum_length(ProfileField::Password))
      check.defects.push_back("the password is too short: at least " +
                              characters(minimum_length(ProfileField::Password)));
  }
};

}  // namespace

std::string joined_remedies(const ProfileCheck& check) {
  std::string remedies;
  for (const std::string& remedy : check.misreadings) remedies += (remedies.empty() ? "" : ", and ") + remedy;
  return remedies;
}

bool check_profile(const std::string& path, const std::string& file_name, ProfileCheck& check) {
  const OwnedFile file(open_file_for_reading(path.c_str()));
  if (file == nullptr) return false;
  ProfileReading reading{check, {}};
  reading.read(file.get());
  reading.check_fields();
  check.verdict = profile_defect_status(profile_verdict(check.entry, reading.findings), file_name);
  return true;
}
