// The README states the sensor's bounds where an administrator sets a
// monitor's timeout; each figure it gives is compared with the time budget.
#include "common/time_budget.h"

#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <sstream>
#include <string>

namespace {

// The README with every run of blanks and line breaks as one blank, so that
// a sentence reads the same wherever its lines are broken.
std::string readme_text() {
  std::ifstream readme(QUENMAREL_README);
  std::ostringstream whole;
  whole << readme.rdbuf();
  return std::regex_replace(whole.str(), std::regex("\\s+"), " ");
}

// Whole seconds, as the README writes them.
int seconds(int milliseconds) { return milliseconds / 1000; }

}  // namespace

TEST(TimeBudget, EveryFigureTheReadmeGivesForABoundIsTheBudgetsOwn) {
  const struct {
    const char* phrase;  // one figure, "(\\d+)"
    int seconds;
  } figures[] = {
      {"PRTG ends an \"EXE/Script Advanced\" sensor after the timeout of its settings \\((\\d+) s unless changed",
       seconds(monitor_default_timeout_ms)},
      {"well within the monitor's (\\d+) s", seconds(monitor_default_timeout_ms)},
      {"PRTG ends an EXE sensor after (\\d+) s by default", seconds(monitor_default_timeout_ms)},
      {"(\\d+) s while another run deletes the trace file", seconds(presence_gate_wait_ms)},
      {"(\\d+) s for its turn at the logon-file copy", seconds(logon_file_lock_wait_ms)},
      {"A run waits at most (\\d+) s for its turn", seconds(logon_file_lock_wait_ms)},
      {"held by another process for (\\d+) s", seconds(logon_file_lock_wait_ms)},
      {"(\\d+) s for the lock of the logon-file copy", seconds(logon_file_lock_wait_ms)},
      {"(\\d+) s to connect", seconds(library_connect_wait_ms)},
      {"(\\d+) s for the logon", seconds(library_logon_wait_ms)},
      {"(\\d+) s for the call's reply", seconds(library_call_wait_ms)},
      {"(\\d+) s for a call \\(sending it and its whole reply\\)", seconds(library_call_wait_ms)},
      {"call's reply: (\\d+) s, which leaves", seconds(worst_single_system_run_ms)},
      {"never answers \\(its document within (\\d+) s\\)",
       seconds(monitor_default_timeout_ms - monitor_timeout_spare_ms)},
      {"which leaves (\\d+) s of the default timeout",
       seconds(monitor_default_timeout_ms - worst_single_system_run_ms)},
      {"per listed system, one after another: allow (\\d+) s", seconds(library_wait_ms)},
      {"allow \\d+ s \\((\\d+) s with logon files\\)", seconds(logon_file_lock_wait_ms + library_wait_ms)},
      {"system is given up after (\\d+) s", seconds(listed_system_deadline_ms)},
      {"or takes longer than (\\d+) s counts as failed", seconds(listed_system_deadline_ms)},
  };
  const std::string readme = readme_text();
  for (const auto& figure : figures) {
    const std::regex phrase(figure.phrase);
    int found = 0;
    for (auto match = std::sregex_iterator(readme.begin(), readme.end(), phrase); match != std::sregex_iterator();
         ++match, ++found)
      EXPECT_EQ(std::stoi((*match)[1]), figure.seconds) << figure.phrase;
    EXPECT_GT(found, 0) << "the README no longer says: " << figure.phrase;
  }
}
