#include "trial_run.h"

#include <cstdint>

#include "common/rfc_names.h"
#include "common/time_budget.h"
#include "error_remedy.h"
#include "installation_files.h"
#include "platform/child_process.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "tool_output.h"
#include "trial_document.h"

namespace {

constexpr int poll_interval_ms = 100;
// An item-mode run over the longest listing the sensor takes prints far less.
constexpr std::size_t trial_output_capacity = std::size_t{1} << 20;
// A trace file that grew more than this in one run is shown by its end.
constexpr std::size_t shown_trace_lines = 40;

/// How the sensor's run ended for the doctor.
enum class TrialEnd { Ended, NotStarted, TimedOut, TooMuchOutput };

/// The sensor's standard output and exit code.
struct TrialOutcome {
  TrialEnd end = TrialEnd::NotStarted;
  int exit_code = 0;
  std::string output;
};

std::uint64_t trace_file_size() {
  std::string bytes;
  return read_whole_file(rfc_trace_file_name, bytes) == FileReading::Read ? bytes.size() : 0;
}

// Reads what the sensor prints, in blocks, until it ended and closed its
// output, it printed more than any run prints, or the time is up.
TrialEnd follow_sensor(ChildProcess& sensor, TextBuffer& output) {
  const long long deadline = monotonic_ms() + trial_run_wait_ms;
  ChildProcess* const children[] = {&sensor};
  for (;;) {
    const ChildOutputState state = sensor.read_output(output);
    if (state == ChildOutputState::Overflow) return TrialEnd::TooMuchOutput;
    if (state == ChildOutputState::Closed && sensor.ended()) return TrialEnd::Ended;
    if (monotonic_ms() >= deadline) return TrialEnd::TimedOut;
    wait_for_children(children, 1, poll_interval_ms);
  }
}

// Runs the sensor with the words as typed, each an argument of its own.
TrialOutcome run_sensor(const InstallationPrograms& programs, const std::vector<std::string>& words) {
  const std::string program = programs.windows ? ".\\" + programs.sensor_name : "./" + programs.sensor_name;
  std::vector<const char*> argv{program.c_str()};
  for (const std::string& word : words) argv.push_back(word.c_str());
  argv.push_back(nullptr);
  TrialOutcome outcome;
  ChildProcess sensor;
  if (!sensor.start(ChildCommand{program.c_str(), argv.data()}, "")) return outcome;
  static BoundedText<trial_output_capacity> output;
  output.clear();
  outcome.end = follow_sensor(sensor, output);
  if (outcome.end != TrialEnd::Ended) sensor.kill();
  outcome.exit_code = sensor.exit_code();
  outcome.output.assign(output.view());
  return outcome;
}

void show_trace_file(std::uint64_t from, DoctorReport& report) {
  std::string bytes;
  if (read_whole_file(rfc_trace_file_name, bytes) != FileReading::Read || bytes.size() <= from) {
    report.detail(std::string(rfc_trace_file_name) + ": nothing written by this run");
    return;
  }
  std::vector<std::string> lines;
  std::size_t at = static_cast<std::size_t>(from);
  while (at < bytes.size()) {
    std::size_t end = bytes.find('\n', at);
    if (end == std::string::npos) end = bytes.size();
    std::string line = bytes.substr(at, end - at);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty()) lines.push_back(line);
    at = end + 1;
  }
  const std::size_t first = lines.size() > shown_trace_lines ? lines.size() - shown_trace_lines : 0;
  // The library may quote the SAProuter route it was given.
  for (std::size_t i = first; i < lines.size(); ++i)
    report.detail(std::string(rfc_trace_file_name) + ": " + without_route_passwords(lines[i]));
}

// Returns whether the run measured.
bool report_outcome(const TrialOutcome& outcome, const TrialRequest& request, const std::string& subject,
                    DoctorReport& report) {
  switch (outcome.end) {
    case TrialEnd::NotStarted:
      report.error(subject, "the sensor could not be started", "run the doctor on the probe itself");
      return false;
    case TrialEnd::TimedOut:
      report.error(subject, "no end within " + std::to_string(trial_run_wait_ms / 1000) + " s; it was stopped",
                   "see the findings above and Dev_Rfc.Trc");
      return false;
    case TrialEnd::TooMuchOutput:
      report.error(subject,
                   "printed more than " + std::to_string(trial_output_capacity) +
                       " bytes, more than any run prints; it was stopped",
                   "see the findings above");
      return false;
    case TrialEnd::Ended:
      break;
  }
  const TrialVerdict verdict = judge_trial(request, outcome.exit_code, outcome.output);
  if (verdict.measured) {
    report.ok(subject, verdict.found);
    return true;
  }
  report.error(subject, verdict.found, verdict.remedy);
  for (const std::string& line : verdict.details) report.detail(line);
  return false;
}

}  // namespace

void run_trial(const InstallationPrograms& programs, const std::vector<std::string>& words, DoctorReport& report) {
  const std::string subject = "measure " + words[0];
  if (!programs.sensor_found) {
    report.error(subject, "no sensor to run", "see the findings above");
    return;
  }
  const TrialRequest request = trial_request(words);
  const std::uint64_t trace_before = trace_file_size();
  const TrialOutcome outcome = run_sensor(programs, words);
  if (!report_outcome(outcome, request, subject, report) && outcome.end != TrialEnd::NotStarted)
    show_trace_file(trace_before, report);
}
