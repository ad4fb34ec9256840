#include "driver/parallel_item_run.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cerrno>
#include <memory>
#include <string>

#include "driver/run_state.h"
#include "platform/clock.h"
#include "test_support.h"
#include "virtual_files.h"

namespace {

// Stands in for the sensor's child: reads the request and answers after the
// destination it names, as a measurement of that system would.
constexpr const char* child_script = R"(request=$(cat)
case "$request" in
  *SLOW*) sleep 0.4; printf '\036quenmarel result processed 11 0 0 0 0\n' ;;
  *TALK*) printf '* SapRfc.Ini.......: TALK<\n\036quenmarel result processed 22 0 0 0 0\n' ;;
  *FAIL*) printf '\036quenmarel result failed\n' ;;
  *HANG*) exec sleep 60 ;;
  *CRASH*) printf 'half a line'; kill -9 $$ ;;
  *MUTE*) printf 'no result' ;;
  *CHATTY*) exec head -c 100000 /dev/zero ;;
  *ABORT*) printf 'RFC error\n* Programm aborted...\n'; exit 1 ;;
esac
)";
const char* const child_arguments[] = {"sh", "-c", child_script, "sh", nullptr};
constexpr ChildCommand child_command{"/bin/sh", child_arguments};
constexpr long long child_deadline_ms = 3000;
// Far above what the runs below take, far below the sixty seconds a hung child sleeps.
constexpr long long whole_run_bound_ms = 20000;

class ParallelItemRun : public ::testing::Test {
 protected:
  void SetUp() override {
    state_->out = output_.stream();
    state_->document.output_target = OutputTarget::Harnick;
    state_->location.open_for_reading = VirtualFiles::open;
    state_->listing.item_name.assign("Pages Used");
  }

  // Lists one profile per destination, in order; GONE has no profile.
  void list(std::initializer_list<std::string> destinations) {
    for (const std::string& destination : destinations) {
      state_->listing.server_listing.append(destination + ".P00#");
      if (destination != "GONE") files_.add(destination + ".P00", "Destination: " + destination + "\n");
    }
  }

  ParallelEnd run(unsigned children) {
    const long long started = monotonic_ms();
    const ParallelEnd end =
        measure_listed_systems_in_parallel(*state_, ParallelLimits{children, child_deadline_ms}, child_command);
    EXPECT_LT(monotonic_ms() - started, whole_run_bound_ms);
    EXPECT_TRUE(waitpid(-1, nullptr, WNOHANG) == -1 && errno == ECHILD) << "a child outlived the run";
    return end;
  }

  std::string counts() const {
    return std::to_string(state_->systems_count) + "/" + std::to_string(state_->processed_count) + "/" +
           std::to_string(state_->failed_count);
  }

  std::unique_ptr<RunState> state_ = std::make_unique<RunState>();
  VirtualFiles files_;
  CapturedOutput output_;
};

}  // namespace

TEST_F(ParallelItemRun, SystemsArePrintedInTheListingsOrderWhateverTheirChildrenTake) {
  for (unsigned children : {1u, 2u, 16u}) {
    state_ = std::make_unique<RunState>();
    SetUp();
    list({"SLOW", "TALK", "GONE", "FAIL", "SLOW"});
    const ParallelEnd end = run(children);
    EXPECT_TRUE(end.reached_summary);
    EXPECT_EQ(counts(), "5/3/1") << children;
  }
  // The last round's output (each round printed to the same stream).
  const std::string one_round = "\n> SLOW.P00: 11 %* SapRfc.Ini.......: TALK<\n\n> TALK.P00: 22 %\n> SLOW.P00: 11 %";
  EXPECT_EQ(output_.text(), one_round + one_round + one_round);
}

TEST_F(ParallelItemRun, ChildThatEndsWithoutAResultCountsAsFailedAndPrintsNothing) {
  state_->options.console_mode = true;
  list({"HANG", "CRASH", "MUTE", "CHATTY", "TALK"});
  const ParallelEnd end = run(4);
  EXPECT_TRUE(end.reached_summary);
  EXPECT_EQ(counts(), "5/1/4");
  const std::string text = output_.text();
  EXPECT_EQ(text.find("half a line"), std::string::npos);
  EXPECT_EQ(text.find("no result"), std::string::npos);
  EXPECT_NE(text.find("HANG.P00, , HANG, ,  State=Rfc Failure\n"), std::string::npos) << text;
  EXPECT_NE(text.find("CHATTY.P00, , CHATTY, ,  State=Rfc Failure\n"), std::string::npos) << text;
  EXPECT_NE(text.find("* SapRfc.Ini.......: TALK<\n\n> TALK.P00: 22 %\n"), std::string::npos) << text;
}

TEST_F(ParallelItemRun, SystemThatEndsTheRunEndsItAtItsPlace) {
  list({"SLOW", "ABORT", "TALK", "HANG"});
  const ParallelEnd end = run(4);
  EXPECT_FALSE(end.reached_summary);
  EXPECT_EQ(end.exit_code, 1);
  EXPECT_EQ(output_.text(), "\n> SLOW.P00: 11 %RFC error\n* Programm aborted...\n");
}

// A status line's target collects the values for its line and ends the run
// with its own code of an RFC error; the failed system counts in its state.
TEST_F(ParallelItemRun, StatusLineTargetCollectsTheValuesAndEndsWithItsOwnCode) {
  state_->document.output_target = OutputTarget::Plugin;
  list({"SLOW", "FAIL", "ABORT", "TALK"});
  const ParallelEnd end = run(4);
  EXPECT_FALSE(end.reached_summary);
  EXPECT_EQ(end.exit_code, 3);
  EXPECT_EQ(output_.text(), "RFC error\n* Programm aborted...\n");
  EXPECT_EQ(state_->document.performance_data.view(), " 'SLOW.P00'=11%;;;0;");
  EXPECT_EQ(state_->document.state, ResultState::Warning);
  EXPECT_EQ(state_->document.failed_systems.view(), "FAIL.P00\n");
}

TEST_F(ParallelItemRun, ChannelsAreNumberedAcrossTheSystemsOfTheRun) {
  state_->document.selects_channel = true;
  state_->document.selected_channel = 3;
  list({"SLOW", "FAIL", "TALK", "SLOW", "TALK"});
  run(3);
  EXPECT_EQ(output_.text(), "* SapRfc.Ini.......: TALK<\n11* SapRfc.Ini.......: TALK<\n");
}

// More systems than may wait to be printed: the slow first one holds the
// others back once the table of systems in flight is full, and the table's
// places are taken again in turn.
TEST_F(ParallelItemRun, LongListingWaitsForItsSlowFirstSystemAndKeepsItsOrder) {
  state_->options.console_mode = true;
  list({"SLOW"});
  for (int i = 0; i < 79; ++i) list({i % 10 == 9 ? "TALK" : "FAIL"});
  run(16);
  EXPECT_EQ(counts(), "80/8/72");
  const std::string text = output_.text();
  const std::size_t slow = text.find("SLOW.P00, , SLOW, ,  State=Processed");
  const std::size_t first_failed = text.find("FAIL.P00, , FAIL, ,  State=Rfc Failure");
  ASSERT_NE(slow, std::string::npos);
  EXPECT_LT(slow, first_failed);
  // Every tenth system talks: its line follows nine failed ones.
  const std::string nine_failed_then_talk = [] {
    std::string expected;
    for (int i = 0; i < 9; ++i) expected += "\n* HH:MM:SS FAIL.P00, , FAIL, ,  State=Rfc Failure\n";
    return expected +
           "* SapRfc.Ini.......: TALK<\n\n> TALK.P00: 22 %\n* HH:MM:SS TALK.P00, , TALK, ,  State=Processed\n";
  }();
  std::string masked = text;
  for (std::size_t at = masked.find("* "); at != std::string::npos; at = masked.find("* ", at + 1))
    if (at + 10 <= masked.size() && masked[at + 4] == ':' && masked[at + 7] == ':')
      masked.replace(at + 2, 8, "HH:MM:SS");
  std::size_t rounds = 0;
  for (std::size_t at = masked.find(nine_failed_then_talk); at != std::string::npos;
       at = masked.find(nine_failed_then_talk, at + 1))
    ++rounds;
  EXPECT_EQ(rounds, 7u) << masked;
}
