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

namespace {

constexpr int poll_interval_ms = 100;
// The console lines and one result document fit many times over.
constexpr std::size_t trial_output_capacity = 65536;
// A trace file that grew more than this in one run is shown by its end.
constexpr std::size_t shown_trace_lines = 40;

/// The sensor's standard output and exit code.
struct TrialOutcome {
  bool started = false;
  bool finished = false;
  int exit_code = 0;
  std::string output;
};

std::uint64_t trace_file_size() {
  std::string bytes;
  return read_whole_file(rfc_trace_file_name, bytes) == FileReading::Read ? bytes.size() : 0;
}

TrialOutcome run_sensor(const InstallationPrograms& programs, const std::vector<std::string>& arguments) {
  // Console mode, whatever the options; the monitor's own options otherwise.
  std::string options;
  for (std::size_t i = 1; i < arguments.size(); ++i) options += arguments[i] + " ";
  options += "#";
  const std::string program = programs.windows ? ".\\" + programs.sensor_name : "./" + programs.sensor_name;
  const char* const argv[] = {program.c_str(), arguments[0].c_str(), options.c_str(), nullptr};
  TrialOutcome outcome;
  ChildProcess sensor;
  outcome.started = sensor.start(ChildCommand{program.c_str(), argv}, "");
  if (!outcome.started) return outcome;
  BoundedText<trial_output_capacity> output;
  const long long deadline = monotonic_ms() + trial_run_wait_ms;
  ChildProcess* const children[] = {&sensor};
  while (monotonic_ms() < deadline) {
    const ChildOutputState state = sensor.read_output(output);
    if (state != ChildOutputState::Open && sensor.ended()) break;
    wait_for_children(children, 1, poll_interval_ms);
  }
  outcome.finished = !sensor.running();
  if (!outcome.finished) sensor.kill();
  outcome.exit_code = sensor.exit_code();
  outcome.output = output.c_str();
  return outcome;
}

// The text between <Text> and </Text>, or the "# " line of the plain-text targets.
std::string document_text(const std::string& output) {
  const std::size_t start = output.find("<Text>");
  const std::size_t end = output.find("</Text>");
  if (start != std::string::npos && end != std::string::npos && end > start)
    return output.substr(start + 6, end - start - 6);
  const std::size_t line = output.find("\n# ");
  if (line == std::string::npos) return std::string();
  return output.substr(line + 3, output.find('\n', line + 1) - line - 3);
}

// The block the RFC library's error handler printed in place of a document.
std::vector<std::string> rfc_error_block(const std::string& output) {
  std::vector<std::string> lines;
  std::size_t at = output.find("RFC error");
  while (at != std::string::npos && at < output.size()) {
    const std::size_t end = output.find('\n', at);
    const std::string line = output.substr(at, end == std::string::npos ? std::string::npos : end - at);
    if (!line.empty()) lines.push_back(line);
    at = end == std::string::npos ? end : end + 1;
  }
  return lines;
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

void report_outcome(const TrialOutcome& outcome, const std::string& subject, DoctorReport& report) {
  const std::string text = document_text(outcome.output);
  if (!outcome.finished) {
    report.error(subject, "no end within " + std::to_string(trial_run_wait_ms / 1000) + " s; it was stopped",
                 "see the findings above and Dev_Rfc.Trc");
  } else if (outcome.exit_code == 0 && !text.empty()) {
    report.ok(subject, text);
  } else if (outcome.exit_code == 2 && text.compare(0, 6, "Error ") == 0) {
    report.error(subject, text, remedy_of_message(text));
  } else if (outcome.exit_code == 1 && !rfc_error_block(outcome.output).empty()) {
    const std::vector<std::string> block = rfc_error_block(outcome.output);
    report.error(subject, "the RFC library reported an error: " + block.front(), "see its text and Dev_Rfc.Trc");
    for (std::size_t i = 1; i < block.size(); ++i) report.detail(block[i]);
  } else {
    report.error(subject, "ended with exit code " + std::to_string(outcome.exit_code) + " and no result",
                 "see the findings above");
  }
}

}  // namespace

void run_trial(const InstallationPrograms& programs, const std::vector<std::string>& arguments, DoctorReport& report) {
  const std::string subject = "measure " + arguments[0];
  if (!programs.sensor_found) {
    report.error(subject, "no sensor to run", "see the findings above");
    return;
  }
  const std::uint64_t trace_before = trace_file_size();
  const TrialOutcome outcome = run_sensor(programs, arguments);
  if (!outcome.started) {
    report.error(subject, "the sensor could not be started", "run the doctor on the probe itself");
    return;
  }
  report_outcome(outcome, subject, report);
  if (!(outcome.finished && outcome.exit_code == 0)) show_trace_file(trace_before, report);
}
