#include "driver/listed_system_child.h"

#include "driver/listed_system.h"
#include "driver/listed_system_exchange.h"
#include "driver/parallel_item_run.h"
#include "driver/run_state.h"
#include "driver/run_steps.h"
#include "rfc/rfc_connection.h"

namespace {

// A child that cannot do its work ends with this code and no result; its run
// counts the system as failed.
constexpr int unusable_child_exit_code = 2;

}  // namespace

int run_listed_system_child(RunState& state, int argc, const char* const* argv) {
  if (argc < 3 || !stay_bound_to_parent(argv[2])) return unusable_child_exit_code;
  ListedSystemRequest request;
  ListedSystem system;
  if (!read_standard_input(request) ||
      !decode_listed_system_request(request.view(), state.options, state.document.output_target, system.entry_valid,
                                    state.system_entry))
    return unusable_child_exit_code;
  refresh_run_options(state.options);
  take_run_options(state.document, state.options);
  // The report is the target's; its end tells the run, which ends itself.
  state.rfc_error_report = target_of(state.document).endings->rfc_error_report;
  state.rfc_error_report.exit_code = rfc_error_child_exit_code;
  MessageText failure;
  if (!prepare_rfc_library(failure)) {
    static_cast<void>(end_run_with_error(state.document, state.out, NumberedError::RfcLibraryUnusable, failure.view()));
    return library_unusable_child_exit_code;
  }
  measure_listed_system(state, system);
  write_listed_system_result(state.out, system);
  return 0;
}
