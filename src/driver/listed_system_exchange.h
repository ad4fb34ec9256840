// What a run and the child that measures one of its listed systems tell each
// other: the request on the child's standard input, and the result the child
// writes after everything it printed.
#pragma once

#include <cstdio>
#include <string_view>

#include "common/bounded_text.h"
#include "common/run_options.h"
#include "config/system_entry.h"
#include "driver/listed_system.h"
#include "output/output_target.h"
#include "platform/child_process.h"
#include "platform/files.h"

/// The first argument that starts the sensor as the child of a run.  No
/// profile can be named so: "?" is not allowed in a Windows file name.
inline constexpr std::string_view listed_system_child_marker = "?quenmarel-listed-system";

/// The command that starts this executable as a child of this run.
struct ListedSystemCommand {
  PathText program;
  BoundedText<31> parent_id;
  const char* arguments[4] = {};
  ChildCommand command{};
};

/// Forms the command; false when the executable or this process's identity cannot be had.
bool form_listed_system_command(ListedSystemCommand& command);

/// Most characters of a request; every field at its capacity fits.
inline constexpr std::size_t listed_system_request_capacity = 2047;

/// A request as it travels.
using ListedSystemRequest = BoundedText<listed_system_request_capacity>;

/// Writes the request to measure a system: the run's option text as typed,
/// its console mode, the installation's target (in whose form the child
/// reports), whether the entry is valid, and the entry as the run has read it
/// so far.
void encode_listed_system_request(const RunOptions& options, OutputTarget target, bool entry_valid,
                                  const SystemEntry& entry, TextBuffer& request);

/// Takes a request apart into the option text (`given_options` and
/// `console_mode` only), the target, the validity and the entry; false for
/// anything but a whole, well-formed request whose fields fit and whose target
/// is one.
bool decode_listed_system_request(std::string_view request, RunOptions& options, OutputTarget& target,
                                  bool& entry_valid, SystemEntry& entry);

/// Writes a measured system's result: its outcome and, when processed, its values.
void write_listed_system_result(std::FILE* out, const ListedSystem& system);

/// Splits a child's output into what it printed and the result at its end;
/// false when the output does not end in a well-formed result.
bool split_listed_system_output(std::string_view output, std::string_view& printed, ListedSystem& system);
