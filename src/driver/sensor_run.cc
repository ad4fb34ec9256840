#include "driver/sensor_run.h"

#include "common/program_version.h"
#include "config/profile_file.h"
#include "config/profile_name.h"
#include "driver/item_mode_run.h"
#include "driver/listed_system_child.h"
#include "driver/listed_system_exchange.h"
#include "driver/output_target_setting.h"
#include "driver/run_state.h"
#include "driver/run_steps.h"
#include "driver/single_system_run.h"

namespace {

// Reads the time of start-up and builds the banner, printed later in console mode.
void start_up(RunState& state) {
  local_time_of_day(state.start_time);
  state.status_line.assignf("* %s SAP %s %s", state.start_time.c_str(), program_name, program_version);
}

// A run refused before its target is fixed reports in the form of the target
// the installation's target file names, read for that alone: a file that
// names none leaves the monitor's form, and its own error comes only where a
// run reads the file.
int end_run_before_the_target(RunState& state, const ConfigStatus& refusal) {
  ResultText not_raised;
  OutputTarget named = OutputTarget::EXEXML;
  if (fix_output_target(named, not_raised)) state.document.output_target = named;
  return end_run_with_error(state.document, state.out, refusal.message());
}

}  // namespace

int run_sensor(RunState& state, int argc, const char* const* argv) {
  start_up(state);
  if (argc >= 2 && listed_system_child_marker == argv[1]) return run_listed_system_child(state, argc, argv);
  ResultDocument& document = state.document;
  if (argc < 2) return end_run_before_the_target(state, ConfigStatus(NumberedError::ProfileNameMissing));
  if (!assemble_run_options(state.options, argc, argv))
    return end_run_before_the_target(state, ConfigStatus(NumberedError::OptionsTooLong));
  take_run_options(document, state.options);
  const ConfigStatus formed = form_profile_name(state.location, state.listing.item_name, state.options, argv[1]);
  if (!formed.ok()) return end_run_before_the_target(state, formed);
  ResultText message;
  if (!fix_output_target(document.output_target, message))
    return end_run_with_error(document, state.out, message.view());
  state.rfc_error_report = target_of(document).endings->rfc_error_report;

  OwnedFile profile;
  const bool search_monitor_directories =
      target_of(document).searches_monitor_directories && !state.options.run_options.contains("@");
  const ConfigStatus opened = open_profile(state.location, search_monitor_directories, profile);
  if (!opened.ok()) return end_run_with_error(document, state.out, opened.message());
  if (state.location.item_mode) {
    profile.reset();  // the listing is read afresh from its path
    return run_item_mode(state);
  }
  return run_single_system(state, std::move(profile));
}
