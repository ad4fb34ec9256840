#include "driver/item_mode_run.h"

#include <cstdio>

#include "common/time_budget.h"
#include "config/global_listing.h"
#include "config/item_run_checks.h"
#include "driver/console_lines.h"
#include "driver/listed_system.h"
#include "driver/listed_system_exchange.h"
#include "driver/parallel_item_run.h"
#include "driver/run_state.h"
#include "driver/run_steps.h"
#include "output/document_marks.h"
#include "output/result_document.h"
#include "rfc/rfc_connection.h"

namespace {

// The option text as the console shows it: colons as blanks, up to the first
// " @".  Formed in its own buffer so that the overrides keep their text.
ConsoleLine shown_item_options(const RunOptions& options) {
  ConsoleLine shown = shown_option_text(options.given_options.view());
  shown.replace_all(':', ' ');
  shown.cut_at(shown.find(" @"));
  return shown;
}

void print_opening(RunState& state) {
  std::FILE* out = state.out;
  if (state.options.console_mode) {
    print_line(out, state.status_line.view());
    ConsoleLine line;
    line.assignf("* %s %s State=Executing", state.start_time.c_str(), shown_item_options(state.options).c_str());
    print_line(out, line.view());
  }
  open_result_document(state.document);
  if (target_of(state.document).form == ResultForm::Document) print_line(out, state.document.result_text.view());
  state.document.result_text.clear();
}

void measure_one_after_another(RunState& state) {
  ProfileFileName& name = state.location.profile_file_name;
  while (!state.listing.server_listing.empty()) {
    ++state.systems_count;
    ListedSystem system;
    if (take_next_listed_name(state.listing, name) && read_listed_system(state, name, system))
      measure_listed_system(state, system);
    report_listed_system(state, system);
  }
}

// The command that starts a child for one system; null when the run
// measures alone: without ",PARALLEL=", or without its own path, which the
// sensor needs to start itself.
const ChildCommand* listed_system_child_command(const ParallelSetting& parallel) {
  static ListedSystemCommand command;
  return parallel.given && form_listed_system_command(command) ? &command.command : nullptr;
}

// A document's summary is one more piece, printed as a line; a status line is
// the whole result, whose line feed the document's end gave it.
void print_summary(RunState& state) {
  ResultDocument& document = state.document;
  MessageText summary;
  summary.assign(summary_start);
  summary.appendf("%s: NoSystems=%u, Processed=%u", state.listing.item_name.c_str(), state.systems_count,
                  state.processed_count);
  summary.append(summary_failed_count);
  summary.appendf("%u", state.failed_count);
  name_failed_systems(document, summary);
  begin_result_text(document);
  add_result_text(document, summary.view());
  end_result_text(document);
  close_result_document(document);
  if (target_of(document).form == ResultForm::Document)
    print_line(state.out, document.result_text.view());
  else
    std::fputs(document.result_text.c_str(), state.out);
}

}  // namespace

int run_item_mode(RunState& state) {
  ResultDocument& document = state.document;
  const RunOptions command_line = state.options;
  if (const ConfigStatus loaded = load_global_listing(state.location, state.options, state.listing); !loaded.ok())
    return end_run_with_error(document, state.out, loaded.message());
  state.systems_count = state.processed_count = state.failed_count = 0;
  refresh_run_options(state.options);
  ItemRunSettings settings;
  if (const ConfigStatus checked = check_item_run(state.listing, state.options, command_line, settings); !checked.ok())
    return end_run_with_error(document, state.out, checked.message());
  take_run_options(document, state.options);
  document.limits = settings.limits;
  const ParallelSetting& parallel = settings.parallel;
  // An item-mode run neither reads nor deletes the trace file, but the library
  // writes into it for every system that fails, in this process or its children.
  join_runs_in_directory(state.presence);
  // The library is loaded before anything is printed, also where children
  // measure (each loads it again for itself): one the run cannot use gets a
  // document of its own, not one inside the opening already printed.
  const ChildCommand* child_command = listed_system_child_command(parallel);
  MessageText failure;
  if (!prepare_rfc_library(failure))
    return end_run_with_error(document, state.out, NumberedError::RfcLibraryUnusable, failure.view());
  print_opening(state);
  if (child_command != nullptr) {
    const ParallelEnd end = measure_listed_systems_in_parallel(
        state, ParallelLimits{parallel.systems, listed_system_deadline_ms}, *child_command);
    if (!end.reached_summary) return end.exit_code;
  } else {
    measure_one_after_another(state);
  }
  print_summary(state);
  if (state.options.console_mode) print_processed_line(state.out);
  return finished_run_exit_code(document);
}
