#include "driver/item_mode_run.h"

#include <cstdio>

#include "calculation/page_roll_usage.h"
#include "config/global_listing.h"
#include "config/profile_file.h"
#include "driver/console_lines.h"
#include "driver/run_options.h"
#include "driver/run_state.h"
#include "driver/sensor_run.h"
#include "output/result_document.h"
#include "platform/process.h"
#include "rfc/rfc_connection.h"

namespace {

// The option text as the console shows it: colons as blanks, up to the first
// " @".  Formed in its own buffer so that the overrides keep their text.
ConsoleLine shown_option_text(const RunState& state) {
  ConsoleLine shown(state.given_options.view());
  shown.replace_all(':', ' ');
  shown.cut_at(shown.find(" @"));
  return shown;
}

void print_opening(RunState& state) {
  if (state.console_mode) {
    print_line(state, state.status_line.view());
    ConsoleLine line;
    line.assignf("* %s %s State=Executing", state.start_time.c_str(), shown_option_text(state).c_str());
    print_line(state, line.view());
  }
  open_result_document(state);
  print_line(state, state.result_text.view());
  state.result_text.clear();
}

// Takes the next name from the front of the listing.  A last name without its
// "#" still counts as a name.
void take_next_name(RunState& state, TextBuffer& name) {
  const std::size_t end = state.server_listing.find('#');
  const std::string_view listing = state.server_listing.view();
  const std::size_t name_length = end == TextBuffer::npos ? listing.size() : end;
  name.assign(listing.substr(0, name_length));
  const BoundedText<2047> rest(end == TextBuffer::npos ? std::string_view() : listing.substr(end + 1));
  state.server_listing = rest;
}

void set_channel_key(RunState& state, const TextBuffer& name) {
  switch (state.key_kind) {
    case KeyKind::Profile: state.sensor_channel_key.assign(name.view()); break;
    case KeyKind::Alias:
      state.sensor_channel_key.assign(name.size() < 4 ? name.view() : name.view().substr(0, name.size() - 4));
      break;
    case KeyKind::Host: state.sensor_channel_key.assign(state.system_entry.hostname.view()); break;
    case KeyKind::Sid: state.sensor_channel_key.assign(state.system_entry.destination.view()); break;
  }
}

// Opens the listed profile; null when it is not there, also for an empty name
// or one longer than a file name may be.
std::FILE* open_listed_profile(RunState& state, const TextBuffer& name, const TextBuffer& full_name) {
  if (name.empty() || name.size() != full_name.size()) return nullptr;
  BoundedText<159> path(state.sensor_directory.view());
  if (!path.append(name.view())) return nullptr;
  return state.open_for_reading(path.c_str());
}

void measure_listed_system(RunState& state) {
  ++state.systems_count;
  state.item_measured = '.';
  BoundedText<2047> full_name;
  take_next_name(state, full_name);
  state.profile_file_name.assign(full_name.view());
  const BoundedText<63>& name = state.profile_file_name;
  state.sensor_channel_key = name;

  std::FILE* profile = open_listed_profile(state, name, full_name);
  if (profile == nullptr) return;
  read_profile(state, profile, ProfileReadMode::Listed);
  set_channel_key(state, name);
  if (state.console_mode) {
    BoundedText<8> now;
    local_time_of_day(now);
    build_system_status_line(state, name, now);
  }

  install_rfc_environment(state);
  state.result_text.clear();
  state.run_status = RunStatus::ERR;
  state.connection_handle = open_rfc_connection(state);
  if (state.connection_handle == RFC_NULL_HANDLE) state.system_entry.entry_valid = false;
  if (state.connection_handle != RFC_NULL_HANDLE) {
    if (state.system_entry.entry_valid) {
      state.run_status = RunStatus::ERR;
      state.run_result = calculate_page_roll_usage(state, state.connection_handle);
      if (state.run_status != RunStatus::OK) state.system_entry.entry_valid = false;
    }
    RfcClose(state.connection_handle);
    state.connection_handle = RFC_NULL_HANDLE;
  }

  const bool processed =
      state.system_entry.entry_valid && state.run_status == RunStatus::OK && state.item_measured == 'X';
  ++(processed ? state.processed_count : state.failed_count);
  if (state.console_mode)
    std::fprintf(state.out, "\n%s State=%s\n", state.status_line.c_str(), processed ? "Processed" : "Rfc Failure");
}

void print_summary(RunState& state) {
  // A failed last system leaves its error text behind; it does not belong in
  // front of the summary.
  state.result_text.clear();
  begin_result_text(state);
  BoundedText<255> summary;
  summary.assignf("(***) %s: NoSystems=%u, Processed=%u, Failed=%u", state.item_name.c_str(), state.systems_count,
                  state.processed_count, state.failed_count);
  add_result_text(state, summary.view());
  end_result_text(state);
  close_result_document(state);
  print_line(state, state.result_text.view());
}

}  // namespace

void run_item_mode(RunState& state) {
  load_global_listing(state);
  state.profile_file = nullptr;
  state.systems_count = state.processed_count = state.failed_count = 0;
  refresh_run_options(state);
  print_opening(state);
  while (!state.server_listing.empty()) measure_listed_system(state);
  print_summary(state);
  if (state.console_mode) print_processed_line(state);
  exit_process(0);
}
