#include "check_command.h"

#include <cstdio>
#include <string>
#include <vector>

#include "config/password.h"
#include "config/profile_file.h"
#include "platform/files.h"
#include "tool_output.h"

const char* const check_usage =
    "Usage: quenmarel-profile check FILE\n"
    "\n"
    "Reads the profile FILE the way a single-system run of the sensor reads it\n"
    "and prints every defect it finds: missing labels, values that are too short\n"
    "or too long, stored passwords that are malformed or fail their check.  Ends\n"
    "with the error the sensor would report.  The password is never printed.\n"
    "Exit code 0 when the sensor accepts the profile, 2 otherwise.\n";

namespace {

std::string quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

std::string characters(std::size_t count) {
  return std::to_string(count) + (count == 1 ? " character" : " characters");
}

// The name the sensor's messages use: the file name without its directory.
std::string bare_file_name(const std::string& path) {
  const std::size_t separator = path.find_last_of("\\/");
  return separator == std::string::npos ? path : path.substr(separator + 1);
}

std::string password_failure(ProfileLineOutcome outcome, std::size_t stored_length) {
  if (outcome == ProfileLineOutcome::PasswordCheckFailure)
    return "the stored password fails its check digit (scrambled with another key, or altered)";
  if (stored_length != stored_password_length)
    return "the stored password has " + characters(stored_length) + ", a stored password has 24";
  return "the stored password's first four characters are not a valid header";
}

/// The sensor's reading of a profile, and every defect it meets in plain words.
struct ProfileCheck {
  SystemEntry entry;
  ProfileFindings findings;
  std::vector<std::string> defects;

  // Lines are numbered as the sensor reads them: each piece of a line longer
  // than 99 characters counts as a line of its own.
  void read(std::FILE* file) {
    read_profile_lines(
        file, single_run_line_piece, entry, findings, [this](unsigned number, ProfileLineOutcome outcome) {
          if (password_defect(outcome) == ProfileDefect::None) return;
          const std::size_t stored_length = findings.value_length[field_index(ProfileField::Password)];
          defects.push_back("line " + std::to_string(number) + ": " + password_failure(outcome, stored_length));
        });
  }

  void check_fields() {
    for (ProfileField field : all_profile_fields) {
      const std::size_t index = field_index(field);
      const std::string label = quoted(profile_label(field));
      const TextBuffer& value = entry_field(entry, field);
      if (!findings.seen[index])
        defects.push_back("label " + label + " is missing");
      else if (findings.too_long[index])
        defects.push_back("the value of " + label + " is too long: " + characters(findings.value_length[index]) +
                          ", at most " + std::to_string(value.capacity()));
      else if (field == ProfileField::Password)
        check_password();
      else if (value.size() < minimum_length(field))
        defects.push_back("the value of " + label + " is too short: " + characters(value.size()) + ", at least " +
                          std::to_string(minimum_length(field)));
    }
  }

  // A failed password line was reported where it stands and leaves the
  // password empty; only a readable password is judged by its length.
  void check_password() {
    if (findings.first_password_defect != ProfileDefect::None) return;
    if (entry.password.empty())
      defects.push_back("the value of \"Password...:\" holds no password");
    else if (entry.password.size() < minimum_length(ProfileField::Password))
      defects.push_back("the password is too short: at least " + characters(minimum_length(ProfileField::Password)));
  }
};

}  // namespace

int run_check(int argc, const char* const* argv) {
  if (argc == 1 && std::string(argv[0]) == "--help") {
    print_text(check_usage);
    return 0;
  }
  if (argc != 1 || argv[0][0] == '-') return refuse_usage("check takes one profile file", check_usage);
  const std::string path = argv[0];
  const OwnedFile file(open_file_for_reading(path.c_str()));
  if (file == nullptr) {
    print_error("cannot open " + path);
    return tool_failure;
  }
  ProfileCheck check;
  check.read(file.get());
  check.check_fields();

  for (const std::string& defect : check.defects) print_line(path + ": " + defect);
  const ConfigStatus verdict =
      profile_defect_status(profile_verdict(check.entry, check.findings), bare_file_name(path));
  if (verdict.ok()) {
    print_line(path + ": the sensor accepts this profile");
    return 0;
  }
  print_line(path + ": the sensor refuses it with " + std::string(verdict.message()));
  return tool_failure;
}
