#include "driver/listed_system.h"

#include <cstdio>

#include "common/saprouter_route.h"
#include "config/profile_file.h"
#include "driver/page_roll_measurement.h"
#include "driver/run_state.h"
#include "output/document_marks.h"
#include "output/usage_document.h"
#include "rfc/rfc_connection.h"

bool read_listed_system(RunState& state, const TextBuffer& name, ListedSystem& system) {
  ProfilePath path;
  join_path(state.location, name.view(), path);
  OwnedFile profile(state.location.open_for_reading(path.c_str()));
  if (profile == nullptr) return false;
  system.entry_valid = read_listed_profile(std::move(profile), state.system_entry);
  form_channel_key(state.listing.key_kind, name.view(), state.system_entry, system.channel_key);
  if (state.options.console_mode) {
    TimeOfDay now;
    local_time_of_day(now);
    build_system_status_line(system.status_line, now, name, state.system_entry);
  }
  return true;
}

void measure_listed_system(RunState& state, ListedSystem& system) {
  install_rfc_environment(state.rfc, state.out, state.rfc_error_report);
  system.outcome = ListedOutcome::Failed;
  const rfc_handle handle = open_rfc_connection(state.rfc, state.system_entry, state.options, state.out);
  if (handle == RFC_NULL_HANDLE) return;
  MessageText failure;  // an item-mode run shows no failure text
  if (system.entry_valid && measure_page_roll_usage(handle, system.usage, failure) == RFC_RESULT_OK)
    system.outcome = ListedOutcome::Processed;
  RfcClose(handle);
}

void report_listed_system(RunState& state, const ListedSystem& system) {
  if (system.outcome == ListedOutcome::NotOpened) return;
  const bool processed = system.outcome == ListedOutcome::Processed;
  if (processed) {
    // The channel is numbered here, in the process that prints it, so that
    // "Quelbrin"'s ten channels and "CH=" count the channels of the whole run.
    ResultDocument& document = state.document;
    write_item_channel(document, state.listing.item_name.view(), system.channel_key.view(), system.usage);
    std::fputs(document.result_text.c_str(), state.out);
    document.result_text.clear();
    ++state.processed_count;
  } else {
    note_failed_system(state.document, system.channel_key.view());
    ++state.failed_count;
  }
  if (state.options.console_mode) {
    const std::string_view state_word = processed ? processed_state : failed_state;
    std::fprintf(state.out, "\n%s%.*s%.*s\n", system.status_line.c_str(), static_cast<int>(state_mark.size()),
                 state_mark.data(), static_cast<int>(state_word.size()), state_word.data());
  }
}
