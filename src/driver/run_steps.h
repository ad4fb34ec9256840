// The steps every run takes, whichever its mode: putting the option text in
// force, joining the other runs in the directory, ending with a numbered error.
#pragma once

#include <cstdio>
#include <string_view>

#include "common/numbered_errors.h"
#include "common/run_options.h"
#include "output/result_document.h"
#include "platform/run_presence.h"

/// Puts the option text in force where the document honours an option: its
/// channel selection ("CH=").  ",SYSLOG" is accepted and changes nothing.
void take_run_options(ResultDocument& document, const RunOptions& options);

/// Makes this run one of the sensors at work in the working directory, before
/// anything reaches the RFC library: from then on no other run takes this
/// one's trace text for its own or deletes it while this one may need it.
void join_runs_in_directory(RunPresence& presence);

/// Prints the target's error document with `message` on `out`; returns the
/// exit code the run ends with, the target's for a numbered error.
[[nodiscard]] int end_run_with_error(ResultDocument& document, std::FILE* out, std::string_view message);

/// The same with the message of `error` carrying `name`.
[[nodiscard]] int end_run_with_error(ResultDocument& document, std::FILE* out, NumberedError error,
                                     std::string_view name = {});

/// The code a run that ended with `exit_code` ends with instead when its
/// output did not reach standard output whole: a failed run keeps its own,
/// any other ends with the target's code for an undelivered result.
int exit_code_if_undelivered(const ResultDocument& document, int exit_code);
