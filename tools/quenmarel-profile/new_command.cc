#include "new_command.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>

#include "common/ascii.h"
#include "config/profile_labels.h"
#include "config/profile_name.h"
#include "config/system_entry.h"
#include "config/system_number.h"
#include "password_input.h"
#include "platform/files.h"
#include "tool_output.h"

const char* const new_usage =
    "Usage: quenmarel-profile new PROFILE --extcompany=TEXT --destination=TEXT\n"
    "         --client=TEXT --user=TEXT --language=TEXT --mode=TEXT\n"
    "         --hostname=TEXT --sysnr=NN --gwhost=TEXT --gwservice=TEXT [--force]\n"
    "\n"
    "Writes a complete profile.  PROFILE is named as the sensor names it: PRD\n"
    "writes PRD.P00 (a name whose fourth character from the end is not a dot\n"
    "gets .P00).  The password is read from standard input (one line), never\n"
    "from the command line; at a terminal it is asked for and not shown while\n"
    "it is typed.  Every field option is required, as --name=TEXT or\n"
    "--name TEXT; a value may hold the characters from blank to tilde, at least\n"
    "as many as the sensor requires and no more than its field holds, and the\n"
    "system number is two digits.  --mode=R/2 connects through the gateway, any\n"
    "other mode to the application server.  The profile is written whole and\n"
    "then put in PROFILE's place; on Linux only its owner may read it.\n"
    "\n" QUENMAREL_PASSWORD_RULES
    "\n"
    "  --force   replace PROFILE if it exists\n";

namespace {

struct FieldOption {
  const char* name;
  ProfileField field;
};

// In the order the profile lists them; the password is not an option.
const FieldOption field_options[] = {
    {"extcompany", ProfileField::Extcompany}, {"destination", ProfileField::Destination},
    {"client", ProfileField::Client},         {"user", ProfileField::User},
    {"language", ProfileField::Language},     {"mode", ProfileField::Mode},
    {"hostname", ProfileField::Hostname},     {"sysnr", ProfileField::Sysnr},
    {"gwhost", ProfileField::Gwhost},         {"gwservice", ProfileField::Gwservice},
};

struct NewProfile {
  std::string path;
  bool force = false;
  std::map<std::string, std::string> values;
};

std::size_t field_capacity(ProfileField field) {
  SystemEntry entry;
  const std::size_t capacity = entry_field(entry, field).capacity();
  return capacity < profile_value_length ? capacity : profile_value_length;
}

bool is_field_option(const std::string& name) {
  for (const FieldOption& option : field_options)
    if (name == option.name) return true;
  return false;
}

// The value of "--name=value", or of "--name value" from the next argument,
// which must not be an option itself: a value left out is never taken from
// the option after it.
bool take_option_value(const std::string& argument, int argc, const char* const* argv, int& i, NewProfile& profile,
                       std::string& problem) {
  const std::size_t equals = argument.find('=');
  const std::string name = argument.substr(2, equals == std::string::npos ? std::string::npos : equals - 2);
  if (!is_field_option(name)) {
    // Only the name: the value may be a password typed in the wrong place.
    problem = "unknown option --" + name;
    return false;
  }
  if (profile.values.count(name) > 0) {
    problem = "--" + name + " is given twice";
    return false;
  }
  if (equals != std::string::npos) {
    profile.values[name] = argument.substr(equals + 1);
  } else if (i + 1 < argc && !is_option(argv[i + 1])) {
    profile.values[name] = argv[++i];
  } else {
    problem = "--" + name + " needs a value";
    return false;
  }
  return true;
}

// Reads "PROFILE", the field options and "--force"; false with a message on anything else.
bool parse_arguments(int argc, const char* const* argv, NewProfile& profile, std::string& problem) {
  for (int i = 0; i < argc; ++i) {
    const std::string argument = argv[i];
    if (argument == "--force" && profile.force) {
      problem = "--force is given twice";
      return false;
    }
    if (argument == "--force") {
      profile.force = true;
    } else if (is_option(argument.c_str())) {
      if (!take_option_value(argument, argc, argv, i, profile, problem)) return false;
    } else if (profile.path.empty()) {
      profile.path = argument;
      if (!has_profile_extension(profile.path)) profile.path += default_profile_extension;
    } else {
      problem = "more than one file given";
      return false;
    }
  }
  if (profile.path.empty()) problem = "no file given";
  return problem.empty();
}

bool check_values(const NewProfile& profile) {
  bool valid = true;
  for (const FieldOption& option : field_options) {
    const auto given = profile.values.find(option.name);
    const std::string option_text = std::string("--") + option.name;
    if (given == profile.values.end()) {
      print_error(option_text + " is missing");
      valid = false;
      continue;
    }
    const std::string& value = given->second;
    const std::size_t shortest = minimum_length(option.field), longest = field_capacity(option.field);
    if (value.size() < shortest || value.size() > longest) {
      print_error(option_text + " must have " + std::to_string(shortest) + " to " + std::to_string(longest) +
                  " characters");
      valid = false;
    } else if (!std::all_of(value.begin(), value.end(), is_printable)) {
      print_error(option_text + " may hold only the characters from blank to tilde");
      valid = false;
    } else if (option.field == ProfileField::Sysnr && !is_system_number(value)) {
      print_error(option_text + " must be two digits");
      valid = false;
    }
  }
  return valid;
}

std::string profile_text(const NewProfile& profile, const std::string& stored_password) {
  std::string text;
  BoundedText<profile_label_length + 1 + profile_value_length> line;
  for (const FieldOption& option : field_options) {
    format_profile_line(option.field, profile.values.at(option.name), line);
    text.append(line.c_str()).append("\n");
    if (option.field == ProfileField::User) {
      format_profile_line(ProfileField::Password, stored_password, line);
      text.append(line.c_str()).append("\n");
    }
  }
  return text;
}

// Any entry by that name is kept without --force, one that cannot be read
// or a dangling link too; with it, only a regular file is replaced: a link or
// a pipe in its place is none of this tool's doing.
bool may_take_place_of(const NewProfile& profile) {
  const EntryKind existing = directory_entry_kind(profile.path.c_str());
  if (existing == EntryKind::Missing) return true;
  if (!profile.force) {
    print_error(profile.path + " exists; give --force to overwrite it");
    return false;
  }
  if (existing == EntryKind::RegularFile) return true;
  print_error(profile.path + " is not a regular file; it is left as it is");
  return false;
}

// The new file is on disk before it takes the old one's place, and the
// directory before and after, so that a power loss leaves the old profile or
// the new one, never an empty one.
bool put_in_place(const std::string& new_path, const std::string& path) {
  flush_directory_of(new_path.c_str());
  if (!replace_file(new_path.c_str(), path.c_str())) return false;
  flush_directory_of(path.c_str());
  return true;
}

// The profile is written whole under a name of its own and then put in the
// place of the old one in one step, so that a full disk or a failed write
// leaves the old profile as it was, never a half-written one.  It holds a
// password, so only its owner may read it.
bool write_file(const std::string& path, const std::string& text) {
  const std::string new_path = path + ".new";
  remove_regular_file(new_path.c_str());  // left by a write that failed before
  std::FILE* file = create_new_file(new_path.c_str(), FileReaders::OwnerOnly);
  if (file == nullptr) return false;
  const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size() && flush_to_disk(file);
  if (std::fclose(file) == 0 && written && put_in_place(new_path, path)) return true;
  remove_regular_file(new_path.c_str());
  return false;
}

}  // namespace

int run_new(int argc, const char* const* argv) {
  if (argc == 1 && std::string(argv[0]) == "--help") {
    print_text(new_usage);
    return 0;
  }
  NewProfile profile;
  std::string problem;
  if (!parse_arguments(argc, argv, profile, problem)) return refuse_usage(problem, new_usage);
  if (!check_values(profile)) return tool_failure;
  if (!may_take_place_of(profile)) return tool_failure;
  std::string password, stored;
  if (!read_password(password) || !scramble_for_profile(password, stored)) return tool_failure;
  if (!write_file(profile.path, profile_text(profile, stored))) {
    print_error("cannot write " + profile.path);
    return tool_failure;
  }
  return 0;
}
