// The sensor started by an item-mode run to measure one listed system in a
// process of its own.
#pragma once

#include <string_view>

#include "common/bounded_text.h"
#include "platform/child_process.h"
#include "platform/files.h"

struct RunState;

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

/// Runs this process as a run's child: takes the request from standard input,
/// measures the system, prints what the measurement prints and then the
/// result, and ends with code 0; the RFC error handler ends it with code 1.
[[noreturn]] void run_listed_system_child(RunState& state, int argc, const char* const* argv);
