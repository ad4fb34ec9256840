#include "driver/parallel_item_run.h"

#include <cstdio>

#include "driver/listed_system.h"
#include "driver/listed_system_exchange.h"
#include "driver/run_state.h"
#include "platform/clock.h"
#include "rfc/logon_file_copy.h"

namespace {

// Systems taken from the listing and not yet printed: a slow system holds up
// the printing of those after it, but not their measurement, until this many
// wait.  Then no further system is started before the first is printed.
constexpr std::size_t systems_in_flight = 64;

// Everything a child prints for its system: the logon file's line, or the RFC
// error handler's report, and the result.  A child that prints more is not
// trusted with its system: it is ended and its system counts as failed.
constexpr std::size_t child_output_capacity = 4095;

// Waiting: its profile is read, but no child could be started for it yet.
enum class SlotState { Free, Waiting, Running, Done };

// How a system's measurement came back.
enum class Ending {
  Result,    // the child's result (or no child was needed)
  EndsRun,   // the child ended as the RFC error handler ends a run
  NoResult,  // the child ended without a result, passed its deadline, or said too much
};

struct InFlightSystem {
  SlotState state = SlotState::Free;
  Ending ending = Ending::Result;
  ListedSystem system;
  ChildProcess child;
  long long deadline = 0;
  BoundedText<child_output_capacity> output;
  // The length of the output that is printed: what came before the result.
  std::size_t printed_length = 0;
};

struct ParallelRun {
  InFlightSystem systems[systems_in_flight];
  // Listing positions: the first system not yet printed, and the next to take.
  std::size_t first = 0;
  std::size_t next = 0;
  unsigned running = 0;
  // A system whose child could not be started holds up the taking of later
  // ones: the run's system entry is still the one it is to be measured with.
  bool waiting = false;
};

// Process-wide, like the rest of the run's state.
ParallelRun& parallel_run() {
  static ParallelRun run;
  return run;
}

InFlightSystem& at(ParallelRun& run, std::size_t position) { return run.systems[position % systems_in_flight]; }

void finish(ParallelRun& run, InFlightSystem& slot, Ending ending) {
  if (slot.state == SlotState::Running) --run.running;
  slot.state = SlotState::Done;
  slot.ending = ending;
}

// A child that was ended, or that ended without its result, may have left
// the files it made; the parent knows its number, and so their names.
void finish_ended_child(ParallelRun& run, InFlightSystem& slot, Ending ending) {
  if (ending != Ending::Result) remove_logon_file_copies_of(slot.child.process_id());
  finish(run, slot, ending);
}

// Starts the child of a system whose profile is read.  A child that cannot be
// started (the process or descriptor limit reached) leaves the system waiting
// for a running child to end, or for the run to measure it itself.
void start_child(const RunState& state, ParallelRun& run, InFlightSystem& slot, const ParallelLimits& limits,
                 const ChildCommand& command) {
  ListedSystemRequest request;
  encode_listed_system_request(state.options, state.document.output_target, slot.system.entry_valid, state.system_entry,
                               request);
  run.waiting = !slot.child.start(command, request.view());
  if (run.waiting) {
    slot.state = SlotState::Waiting;
    return;
  }
  slot.state = SlotState::Running;
  slot.deadline = monotonic_ms() + limits.deadline_ms;
  ++run.running;
}

void take_system(RunState& state, ParallelRun& run, InFlightSystem& slot, const ParallelLimits& limits,
                 const ChildCommand& command) {
  slot.system = ListedSystem{};
  slot.output.clear();
  slot.printed_length = 0;
  ++state.systems_count;
  ProfileFileName& name = state.location.profile_file_name;
  // The profiles are read here, in the listing's order, so that each system
  // starts from the entry the systems before it left, as when measured in turn.
  if (!take_next_listed_name(state.listing, name) || !read_listed_system(state, name, slot.system)) {
    finish(run, slot, Ending::Result);
    return;
  }
  start_child(state, run, slot, limits, command);
}

InFlightSystem& waiting_system(ParallelRun& run) { return at(run, run.next - 1); }

void start_systems(RunState& state, ParallelRun& run, const ParallelLimits& limits, const ChildCommand& command) {
  const unsigned most_running = limits.children > 0 ? limits.children : 1;
  if (run.waiting) start_child(state, run, waiting_system(run), limits, command);
  while (!run.waiting && !state.listing.server_listing.empty() && run.next - run.first < systems_in_flight &&
         run.running < most_running)
    take_system(state, run, at(run, run.next++), limits, command);
}

// With no child running, none will end to make room: the run measures the
// waiting system itself, as a run without children does.  Every system
// before it is printed by then, so what the measurement prints comes in turn.
void measure_waiting_system_here(RunState& state, ParallelRun& run) {
  if (!run.waiting || run.running > 0 || run.first != run.next - 1) return;
  InFlightSystem& slot = waiting_system(run);
  run.waiting = false;
  measure_listed_system(state, slot.system);
  finish(run, slot, Ending::Result);
}

// A child that ended: its result, or the end of the run, or nothing usable.
Ending ending_of(InFlightSystem& slot) {
  const std::string_view output = slot.output.view();
  if (slot.child.exit_code() == rfc_error_child_exit_code ||
      slot.child.exit_code() == library_unusable_child_exit_code) {
    slot.printed_length = output.size();
    return Ending::EndsRun;
  }
  std::string_view printed;
  if (slot.child.exit_code() != 0 || !split_listed_system_output(output, printed, slot.system)) return Ending::NoResult;
  slot.printed_length = printed.size();
  return Ending::Result;
}

void look_at_child(ParallelRun& run, InFlightSystem& slot, long long now) {
  if (slot.child.read_output(slot.output) == ChildOutputState::Overflow) {
    slot.child.kill();
    finish_ended_child(run, slot, Ending::NoResult);
  } else if (slot.child.ended()) {
    // What it wrote before it ended is in the pipe; take the rest of it.
    const bool overflow = slot.child.read_output(slot.output) == ChildOutputState::Overflow;
    finish_ended_child(run, slot, overflow ? Ending::NoResult : ending_of(slot));
  } else if (now >= slot.deadline) {
    slot.child.kill();
    finish_ended_child(run, slot, Ending::NoResult);
  }
}

void wait_for_running_children(ParallelRun& run) {
  ChildProcess* children[systems_in_flight];
  std::size_t count = 0;
  long long earliest_deadline = 0;
  for (std::size_t position = run.first; position < run.next; ++position) {
    InFlightSystem& slot = at(run, position);
    if (slot.state != SlotState::Running) continue;
    if (count == 0 || slot.deadline < earliest_deadline) earliest_deadline = slot.deadline;
    children[count++] = &slot.child;
  }
  if (count == 0) return;
  const long long remaining = earliest_deadline - monotonic_ms();
  wait_for_children(children, count, remaining < 0 ? 0 : static_cast<int>(remaining));
  const long long now = monotonic_ms();
  for (std::size_t position = run.first; position < run.next; ++position)
    if (at(run, position).state == SlotState::Running) look_at_child(run, at(run, position), now);
}

// Prints the systems whose turn it is, in the listing's order; false when one
// of them ended the run.
bool print_finished_systems(RunState& state, ParallelRun& run, ParallelEnd& end) {
  while (run.first < run.next && at(run, run.first).state == SlotState::Done) {
    InFlightSystem& slot = at(run, run.first++);
    slot.state = SlotState::Free;
    std::fwrite(slot.output.c_str(), 1, slot.printed_length, state.out);
    if (slot.ending == Ending::EndsRun) {
      const RunEndings& endings = *target_of(state.document).endings;
      end = ParallelEnd{false, slot.child.exit_code() == library_unusable_child_exit_code
                                   ? endings.numbered_error_exit_code
                                   : endings.rfc_error_report.exit_code};
      return false;
    }
    if (slot.ending == Ending::NoResult) slot.system.outcome = ListedOutcome::Failed;
    report_listed_system(state, slot.system);
  }
  return true;
}

void stop_running_children(ParallelRun& run) {
  for (InFlightSystem& slot : run.systems) {
    if (slot.child.running()) {
      slot.child.kill();
      remove_logon_file_copies_of(slot.child.process_id());
    }
    slot.state = SlotState::Free;
  }
  run.running = 0;
  run.waiting = false;
}

}  // namespace

ParallelEnd measure_listed_systems_in_parallel(RunState& state, const ParallelLimits& limits,
                                               const ChildCommand& command) {
  ParallelRun& run = parallel_run();
  stop_running_children(run);
  run.first = run.next = 0;
  ParallelEnd end;
  for (;;) {
    start_systems(state, run, limits, command);
    if (!print_finished_systems(state, run, end)) break;
    measure_waiting_system_here(state, run);
    if (!print_finished_systems(state, run, end)) break;
    if (run.first == run.next && state.listing.server_listing.empty()) break;
    wait_for_running_children(run);
  }
  stop_running_children(run);
  return end;
}
