// Any profile, read as a single-system run reads it (pieces of 99 characters)
// and as an item-mode run reads a listed profile (pieces of 199, over the
// entry an earlier listed profile left), from the tests' virtual files.  The
// input's first 24 bytes are de-scrambled as a stored password as well.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "config/password_scrambling.h"
#include "config/profile_file.h"
#include "fuzz_check.h"
#include "virtual_files.h"

namespace {

constexpr const char* profile_name = "PRD.P00";

// A complete profile, as the listed profile before this one left the entry.
constexpr std::string_view earlier_profile =
    "Extcompany.: EXAMPLE\n"
    "Destination: DEV\n"
    "Client.....: 200\n"
    "User.......: monitor\n"
    "Password...: !=6=u`*iww@SBOCD?cin`upa\n"
    "Language...: EN\n"
    "Mode.......: R/3\n"
    "Hostname...: 127.43.0.2\n"
    "Sysnr......: 01\n"
    "Gwhost.....: 127.43.0.2\n"
    "Gwservice..: sapgw01\n";

bool same_fields(const SystemEntry& one, const SystemEntry& other) {
  for (ProfileField field : all_profile_fields)
    if (!entry_field(one, field).equals(entry_field(other, field).view())) return false;
  return one.display_hostname.equals(other.display_hostname.view());
}

// What every entry holds after reading, whatever the bytes: values of one
// line each, without NUL (they reach the library as C strings), never longer
// than a value may be, the user in capitals, the host name shown as the one
// connected to.  The password is what its stored form de-keys to, and that
// may be any byte.
void check_any_entry(const SystemEntry& entry) {
  for (ProfileField field : all_profile_fields) {
    const TextBuffer& text = entry_field(entry, field);
    FUZZ_CHECK(text.size() <= profile_value_length);
    if (field == ProfileField::Password) continue;
    FUZZ_CHECK(text.find('\n') == TextBuffer::npos);
    FUZZ_CHECK(std::strlen(text.c_str()) == text.size());
  }
  for (char c : entry.user.view()) FUZZ_CHECK(c < 'a' || c > 'z');
  FUZZ_CHECK(entry.display_hostname.equals(entry.hostname.view()));
}

void check_complete_entry(const SystemEntry& entry) {
  for (ProfileField field : all_profile_fields) FUZZ_CHECK(entry_field(entry, field).size() >= minimum_length(field));
}

// The profile tool must write a password the sensor reads back unchanged.
void check_password_round_trip(std::string_view password) {
  BoundedText<stored_password_length> stored;
  if (scramble_password(password, stored) != ScrambleOutcome::Scrambled) return;
  BoundedText<password_body_length> again;
  FUZZ_CHECK(descramble_password(stored.view(), again) == PasswordOutcome::Descrambled);
  FUZZ_CHECK(again.equals(password));
}

void check_descrambling(std::string_view stored) {
  BoundedText<password_body_length> password("left from before");
  const PasswordOutcome outcome = descramble_password(stored, password);
  if (outcome != PasswordOutcome::Descrambled) {
    FUZZ_CHECK(password.empty());
    return;
  }
  FUZZ_CHECK(stored.size() == stored_password_length);
  check_password_round_trip(password.view());
}

void read_single(VirtualFiles& files) {
  SystemEntry entry;
  const ConfigStatus status = read_profile(OwnedFile(VirtualFiles::open(profile_name)), profile_name, entry);
  FUZZ_CHECK(files.open_count() == 0);
  check_any_entry(entry);
  if (status.ok()) {
    check_complete_entry(entry);
    check_password_round_trip(entry.password.view());
  } else {
    FUZZ_CHECK(refusal_is_one_of(status.message(), {"1003", "1004", "1005", "1006", "1007"}));
    FUZZ_CHECK(status.message().find(profile_name) != std::string_view::npos);
  }
}

const SystemEntry& entry_of_earlier_profile(VirtualFiles& files) {
  static SystemEntry entry;
  static bool read = false;
  if (!read) {
    files.add("earlier", std::string(earlier_profile));
    FUZZ_CHECK(read_listed_profile(OwnedFile(VirtualFiles::open("earlier")), entry));
    read = true;
  }
  return entry;
}

void read_listed(VirtualFiles& files, std::size_t size) {
  const SystemEntry& earlier = entry_of_earlier_profile(files);
  SystemEntry entry = earlier;
  const bool valid = read_listed_profile(OwnedFile(VirtualFiles::open(profile_name)), entry);
  FUZZ_CHECK(files.open_count() == 0);
  check_any_entry(entry);
  if (valid) check_complete_entry(entry);

  // The same reading, line by line: a field whose label no piece carried
  // keeps the earlier profile's value.
  SystemEntry lines_entry = earlier;
  ProfileFindings findings;
  unsigned pieces = 0;
  OwnedFile file(VirtualFiles::open(profile_name));
  read_profile_lines(file.get(), listed_run_line_piece, lines_entry, findings,
                     [&](unsigned number, ProfileLineOutcome) { FUZZ_CHECK(number == ++pieces); });
  file.reset();
  FUZZ_CHECK(pieces <= size);
  FUZZ_CHECK(same_fields(entry, lines_entry));
  // A value is stored whole or refused, leaving its field empty; never cut.
  for (ProfileField field : all_profile_fields) {
    const std::size_t index = field_index(field);
    const TextBuffer& text = entry_field(entry, field);
    if (!findings.seen[index])
      FUZZ_CHECK(text.equals(entry_field(earlier, field).view()));
    else if (findings.too_long[index])
      FUZZ_CHECK(text.empty());
    else if (field != ProfileField::Password)
      FUZZ_CHECK(text.size() == findings.value_length[index]);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string content(reinterpret_cast<const char*>(data), size);
  VirtualFiles files;
  files.add(profile_name, content);
  read_single(files);
  read_listed(files, size);
  if (size >= stored_password_length) check_descrambling(std::string_view(content).substr(0, stored_password_length));
  return 0;
}
