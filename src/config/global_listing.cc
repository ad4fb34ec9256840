#include "config/global_listing.h"

#include <cstdio>

#include "common/line_reader.h"
#include "config/config_error.h"
#include "config/item_name.h"
#include "driver/run_state.h"
#include "driver/sensor_run.h"

namespace {

constexpr std::size_t listing_line_piece = 199;
constexpr std::size_t listing_text_column = 20;
constexpr std::size_t entry_text_column = 19;
constexpr std::size_t sensor_word_length = 10;
constexpr std::size_t listing_key_length = 18;

constexpr std::string_view item_profile_listing_mark = "# Gsng: ";
constexpr std::string_view sensor_allocation = "Sensor=\"SAP Quenmarel\"";
constexpr std::string_view options_end = ",Sensor=";
constexpr std::string_view item_keyword = "Item=";

using ListingLine = BoundedText<listing_line_piece>;
using ListingKey = BoundedText<listing_key_length>;

/// What the matching entry lines of the global listing file said.
struct SensorEntry {
  bool found = false;
  /// Entry texts longer than this are refused (error 1028).
  BoundedText<127> text;
  BoundedText<127> option_text;
};

std::string_view text_from(const TextBuffer& line, std::size_t column) {
  return column < line.size() ? line.view().substr(column) : std::string_view();
}

void close_listing(RunState& state, std::FILE* file) {
  std::fclose(file);
  if (state.profile_file == file) state.profile_file = nullptr;
}

// A listing that does not fit is refused rather than cut: a cut name would
// be looked for as another file.
void append_listing_text(RunState& state, std::FILE* file, std::string_view text) {
  if (state.server_listing.append_whole(text)) return;
  close_listing(state, file);
  end_run_with_error(state, "Error 1027: Global Server Listing too long...");
}

void read_item_profile(RunState& state, std::FILE* file) {
  LineReader reader(file);
  ListingLine line;
  while (reader.read(line, listing_line_piece))
    if (line.starts_with(item_profile_listing_mark))
      append_listing_text(state, file, text_from(line, listing_text_column));
  close_listing(state, file);
}

// The sensor word is the first word of the option text, padded to ten
// characters; a longer word is cut there, because only its first ten
// characters take part in matching.
void form_listing_keys(const RunState& state, ListingKey& listing_key, ListingKey& entry_key) {
  const std::string_view options = state.run_options.view();
  BoundedText<sensor_word_length> sensor_word(options.substr(0, options.find(' ')));
  while (sensor_word.size() < sensor_word_length) sensor_word.append(' ');
  listing_key.assign("# GSNG: ");
  listing_key.append(sensor_word.view());
  entry_key.assign("# GSNX: ");
  entry_key.append(sensor_word.view());
}

bool key_matches(const TextBuffer& line, const ListingKey& key) {
  if (line.size() < key.size()) return false;
  for (std::size_t i = 0; i < key.size(); ++i)
    if (ascii_upper(line[i]) != key[i]) return false;
  return true;
}

void update_key_kind(const TextBuffer& line, KeyKind& key_kind) {
  if (line.contains(",Profile")) key_kind = KeyKind::Profile;
  if (line.contains(",Alias")) key_kind = KeyKind::Alias;
  if (line.contains(",Host")) key_kind = KeyKind::Host;
  if (line.contains(",Sid")) key_kind = KeyKind::Sid;
}

void take_entry(RunState& state, std::FILE* file, const TextBuffer& line, SensorEntry& entry) {
  const std::string_view text = text_from(line, entry_text_column);
  // Refused rather than cut: a cut entry could lose its sensor allocation or
  // change an option's value without notice.
  if (!entry.text.assign(text)) {
    close_listing(state, file);
    end_run_with_error(state, "Error 1028: Global Sensor Entry too long...");
  }
  if (!entry.text.contains(sensor_allocation)) {
    close_listing(state, file);
    end_run_with_error(state, "Error 1029: Invalid Sensor-Allocation...");
  }
  entry.found = true;
  entry.option_text.assign(text.substr(0, text.find(options_end)));
  entry.option_text.replace_all(':', ' ');
  update_key_kind(line, state.key_kind);
}

void read_global_listing_file(RunState& state, std::FILE* file, SensorEntry& entry) {
  ListingKey listing_key, entry_key;
  form_listing_keys(state, listing_key, entry_key);
  LineReader reader(file);
  ListingLine line;
  while (reader.read(line, listing_line_piece)) {
    if (key_matches(line, listing_key)) append_listing_text(state, file, text_from(line, listing_text_column));
    if (key_matches(line, entry_key)) take_entry(state, file, line, entry);
  }
  close_listing(state, file);
}

// Error 1030 names the sensor as the first option word was typed.
void take_global_entry(RunState& state, const SensorEntry& entry) {
  state.item_name.clear();
  const std::size_t keyword = entry.text.find(item_keyword);
  if (keyword != TextBuffer::npos)
    take_item_name(entry.text.view().substr(keyword + item_keyword.size()), state.item_name);
  if (!entry.found) end_run_naming(state, "Error 1030: Global Sensor ", state.first_option_word.view(), " not found...");
  state.given_options = entry.option_text;
}

}  // namespace

void load_global_listing(RunState& state) {
  if (state.profile_file != nullptr) close_listing(state, state.profile_file);
  state.key_kind = KeyKind::Profile;
  state.server_listing.clear();

  const bool item_profile = state.profile_file_name.equals(item_profile_name);
  std::FILE* file = state.open_for_reading(state.profile_path.c_str());
  if (file == nullptr && item_profile)
    end_run_naming(state, "Error 1024: ProFile ", state.profile_file_name.view(), " is missing...");
  if (file == nullptr) end_run_naming(state, "Error 10x1: ProFile ", state.profile_file_name.view(), " is missing...");

  if (item_profile) {
    read_item_profile(state, file);
  } else {
    SensorEntry entry;
    read_global_listing_file(state, file, entry);
    take_global_entry(state, entry);
  }
  if (state.server_listing.empty()) end_run_with_error(state, "Error 1025: Global Server Listing missing...");
  if (state.item_name.empty()) end_run_with_error(state, "Error 1026: Global Item Idenification missing...");
}
