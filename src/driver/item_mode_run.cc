#include "driver/item_mode_run.h"

#include <cstdio>

#include "calculation/page_roll_usage.h"
#include "config/global_listing.h"
#include "config/profile_file.h"
#include "driver/console_lines.h"
#include "driver/run_state.h"
#include "driver/sensor_run.h"
#include "output/usage_document.h"
#include "rfc/rfc_connection.h"

namespace {

constexpr std::size_t file_extension_length = 4;

// How one listed system ended; one whose profile was not opened counts only among the systems.
enum class ListedOutcome { NotOpened, Processed, Failed };

// The option text as the console shows it: colons as blanks, up to the first
// " @".  Formed in its own buffer so that the overrides keep their text.
ConsoleLine shown_item_options(const RunOptions& options) {
  ConsoleLine shown(options.given_options.view());
  shown.replace_all(':', ' ');
  shown.cut_at(shown.find(" @"));
  return shown;
}

void print_opening(RunState& state) {
  std::FILE* out = state.streams.out;
  if (state.options.console_mode) {
    print_line(out, state.status_line.view());
    ConsoleLine line;
    line.assignf("* %s %s State=Executing", state.start_time.c_str(), shown_item_options(state.options).c_str());
    print_line(out, line.view());
  }
  open_result_document(state.document);
  print_line(out, state.document.result_text.view());
  state.document.result_text.clear();
}

void set_channel_key(RunState& state, const TextBuffer& name) {
  TextBuffer& key = state.sensor_channel_key;
  switch (state.listing.key_kind) {
    case KeyKind::Profile: key.assign(name.view()); break;
    case KeyKind::Alias:
      key.assign(name.view().substr(
          0, name.size() < file_extension_length ? name.size() : name.size() - file_extension_length));
      break;
    case KeyKind::Host: key.assign(state.system_entry.hostname.view()); break;
    case KeyKind::Sid: key.assign(state.system_entry.destination.view()); break;
  }
}

// Prints the item's channel; true when the measurement succeeded, whether or
// not the item names one of its values.
bool measure_item(RunState& state, rfc_handle handle) {
  PageRollUsage usage;
  MessageText failure;  // an item-mode run shows no failure text
  if (calculate_page_roll_usage(state.streams, handle, usage, failure) != RFC_RESULT_OK) return false;
  write_item_channel(state.document, state.listing.item_name.view(), state.sensor_channel_key.view(), usage);
  std::fputs(state.document.result_text.c_str(), state.streams.out);
  state.document.result_text.clear();
  return true;
}

// Measures the listed system `name` and prints its channel and state line;
// a system whose profile cannot be opened prints nothing.
ListedOutcome measure_listed_system(RunState& state, const TextBuffer& name) {
  ProfilePath path;
  join_path(state.location, name.view(), path);
  OwnedFile profile(state.location.open_for_reading(path.c_str()));
  if (profile == nullptr) return ListedOutcome::NotOpened;

  const bool entry_valid = read_listed_profile(std::move(profile), state.system_entry);
  set_channel_key(state, name);
  if (state.options.console_mode) {
    TimeOfDay now;
    local_time_of_day(now);
    build_system_status_line(state.status_line, now, name, state.system_entry);
  }
  install_rfc_environment(state.rfc, state.streams.out);
  // Opened even for an invalid entry, which only skips the measurement.
  const rfc_handle handle = open_rfc_connection(state.rfc, state.system_entry, state.options, state.streams);
  bool processed = false;
  if (handle != RFC_NULL_HANDLE) {
    if (entry_valid) processed = measure_item(state, handle);
    RfcClose(handle);
  }
  if (state.options.console_mode)
    std::fprintf(state.streams.out, "\n%s State=%s\n", state.status_line.c_str(),
                 processed ? "Processed" : "Rfc Failure");
  return processed ? ListedOutcome::Processed : ListedOutcome::Failed;
}

void print_summary(RunState& state) {
  ResultDocument& document = state.document;
  MessageText summary;
  summary.assignf("(***) %s: NoSystems=%u, Processed=%u, Failed=%u", state.listing.item_name.c_str(),
                  state.systems_count, state.processed_count, state.failed_count);
  begin_result_text(document);
  add_result_text(document, summary.view());
  end_result_text(document);
  close_result_document(document);
  print_line(state.streams.out, document.result_text.view());
}

}  // namespace

void run_item_mode(RunState& state) {
  if (const ConfigStatus loaded = load_global_listing(state.location, state.options, state.listing); !loaded.ok())
    end_run_with_error(state, loaded.message());
  state.systems_count = state.processed_count = state.failed_count = 0;
  refresh_run_options(state.options);
  take_run_options(state);
  print_opening(state);
  // An item-mode run neither reads nor deletes the trace file, but the library
  // writes into it for every system that fails.
  join_runs_in_directory(state);
  ProfileFileName& name = state.location.profile_file_name;
  while (!state.listing.server_listing.empty()) {
    ++state.systems_count;
    const ListedOutcome outcome =
        take_next_listed_name(state.listing, name) ? measure_listed_system(state, name) : ListedOutcome::NotOpened;
    if (outcome == ListedOutcome::Processed) ++state.processed_count;
    if (outcome == ListedOutcome::Failed) ++state.failed_count;
  }
  print_summary(state);
  if (state.options.console_mode) print_processed_line(state.streams.out);
  exit_process(0);
}
