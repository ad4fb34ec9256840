// The numbered messages of the configuration files, put together the one way
// they all are: a fixed prefix, a file or system name and a fixed suffix.
#pragma once

#include <string_view>

struct RunState;

/// Ends the run with the message `prefix` + `name` + `suffix` (error 1002 and its kin).
[[noreturn]] void end_run_naming(RunState& state, std::string_view prefix, std::string_view name,
                                 std::string_view suffix);
