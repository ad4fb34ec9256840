#include "driver/run_steps.h"

#include "common/time_budget.h"
#include "output/channel_writer.h"

namespace {

// Holds the runs' marks; it stays in the directory, as the lock file does.
constexpr const char* presence_file_name = "Quenmarel.runs";

}  // namespace

void take_run_options(ResultDocument& document, const RunOptions& options) {
  select_channel(document, options.run_options);
}

void join_runs_in_directory(RunPresence& presence) { presence.join(presence_file_name, presence_gate_wait_ms); }

int end_run_with_error(ResultDocument& document, std::FILE* out, std::string_view message) {
  write_error_document(document, message);
  std::fputs(document.result_text.c_str(), out);
  return target_of(document).endings->numbered_error_exit_code;
}

int end_run_with_error(ResultDocument& document, std::FILE* out, NumberedError error, std::string_view name) {
  ResultText message;
  write_numbered_error(error, name, message);
  return end_run_with_error(document, out, message.view());
}

int exit_code_if_undelivered(const ResultDocument& document, int exit_code) {
  const RunEndings& endings = *target_of(document).endings;
  const bool failed = exit_code == endings.numbered_error_exit_code || exit_code == endings.rfc_error_report.exit_code;
  return failed ? exit_code : endings.undelivered_exit_code;
}
