#include "rfc/trace_file_scan.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>

#include "fake_rfc_library.h"
#include "test_support.h"

namespace {

constexpr std::size_t message_length = 32;  // "Error 1014: RFC-Failure raised !"

std::string scan(const RunPresence& presence, const TraceWindow& window) {
  BoundedText<300> message("Error 1014: RFC-Failure raised !");
  scan_rfc_trace_file(message, window, presence);
  return std::string(message.view()).substr(message_length);
}

// A run alone in its directory, scanning a trace file that holds `before`
// from before its connection and `appended` from after it (each absent when null).
std::string after_scan(const std::string* before, const std::string* appended) {
  ScratchDirectory directory;
  RunPresence alone;
  EXPECT_TRUE(alone.join("Quenmarel.runs", 1000));
  if (before != nullptr) directory.write("Dev_Rfc.Trc", *before);
  const TraceWindow window = start_trace_window();
  if (appended != nullptr) std::ofstream("Dev_Rfc.Trc", std::ios::binary | std::ios::app) << *appended;
  return scan(alone, window);
}

std::string after_scan(const std::string& appended) { return after_scan(nullptr, &appended); }

std::string block(const std::string& status, const std::string& message) {
  return "**** ERROR in RfcReceive\nT:0001 ======> " + status + "\nERROR       " + message + "\n\n";
}

void set_last_error(const std::string& status, const std::string& message) {
  rfc_error_info& record = fake_rfc_library().last_error;
  std::strncpy(record.status, status.c_str(), sizeof record.status - 1);
  std::strncpy(record.message, message.c_str(), sizeof record.message - 1);
}

}  // namespace

TEST(TraceFileScan, MissingTraceFileAsksToLookForIt) {
  EXPECT_EQ(after_scan(nullptr, nullptr), " - Look for Trace-File");
}

TEST(TraceFileScan, LastErrorLineGivesTheText) {
  EXPECT_EQ(after_scan("**** ERROR file opened\nERROR       gateway timeout\n"), " - gateway timeout");
  EXPECT_EQ(after_scan("**** ERROR x\r\nERROR       gateway timeout\r\n"), " - gateway timeout");
}

TEST(TraceFileScan, ErrorHeaderAfterTheLastErrorLineClearsTheText) {
  EXPECT_EQ(after_scan("**** ERROR a\nERROR       gateway timeout\n**** ERROR b\n"), " - Please Check Trace-File !");
  EXPECT_EQ(after_scan("no error here\n"), " - Please Check Trace-File !");
  EXPECT_EQ(after_scan(""), " - Please Check Trace-File !");
}

TEST(TraceFileScan, ArrowLineGivesTheTextAfterTheArrow) {
  EXPECT_EQ(after_scan("T:0001 ======> partner not reached\n"), " - partner not reached");
  EXPECT_EQ(after_scan("ERROR       first\nT:0002 ======> second\n"), " - second");
  EXPECT_EQ(after_scan("T:0002 ======> second\nERROR       third\n"), " - third");
}

TEST(TraceFileScan, ShortLinesMatchOnlyWhatTheyHold) {
  EXPECT_EQ(after_scan("ERROR       x\nERROR abc\n"), " - Please Check Trace-File !");
  EXPECT_EQ(after_scan("ERROR       x\nT:1234 ======>\n"), " - x");
  EXPECT_EQ(after_scan("ERROR       x\nT:1234 ======> \n"), " - Please Check Trace-File !");
}

TEST(TraceFileScan, LongLinesAreExaminedInPiecesOf99Characters) {
  const std::string first_piece = "x" + std::string(98, '.');
  EXPECT_EQ(after_scan(first_piece + "ERROR       piece two\n"), " - piece two");
  const std::string long_error = "ERROR       " + std::string(138, 'e');  // 150 characters
  EXPECT_EQ(after_scan(long_error + "\n"), " - " + std::string(87, 'e'));
}

// What earlier runs left in the trace file is not this run's failure.
TEST(TraceFileScan, OnlyWhatWasAppendedSinceTheConnectionCounts) {
  const std::string earlier = block("RFC failure", "an earlier run's failure");
  const struct {
    std::string appended;
    std::string expected;
  } cases[] = {
      {"", " - Please Check Trace-File !"},
      {block("RFC failure", "this run's failure"), " - this run's failure"},
      {"**** ERROR in RfcReceive\n", " - Please Check Trace-File !"},
      {"T:0002 ======> reply timeout\n", " - reply timeout"},
  };
  for (const auto& c : cases) EXPECT_EQ(after_scan(&earlier, &c.appended), c.expected) << c.appended;
}

TEST(TraceFileScan, TraceFileReplacedSinceTheConnectionIsReadWhole) {
  ScratchDirectory directory;
  RunPresence alone;
  ASSERT_TRUE(alone.join("Quenmarel.runs", 1000));
  directory.write("Dev_Rfc.Trc", block("RFC failure", std::string(200, 'o')));
  const TraceWindow window = start_trace_window();
  directory.write("Dev_Rfc.Trc", block("RFC failure", "written after the old file went"));
  EXPECT_EQ(scan(alone, window), " - written after the old file went");

  std::remove("Dev_Rfc.Trc");
  EXPECT_EQ(scan(alone, window), " - Look for Trace-File");
}

// When other runs may have written into this run's part, a text counts only
// when the library gives it as this process's last error.
TEST(TraceFileScan, BesideOtherRunsOnlyTheRunsOwnTextIsReported) {
  const std::string own = "system D01 is failing";
  const std::string foreign = block("RFC failure", "system D03 is failing");
  const std::string long_own = "long " + std::string(120, 'l');
  const struct {
    const char* what;
    std::string last_status, last_message, window, expected;
  } cases[] = {
      {"own block, then another run's", "RFC failure", own, block("RFC failure", own) + foreign, " - " + own},
      {"another run's block only", "RFC failure", own, foreign, " - Please Check Trace-File !"},
      {"own block, then another run's header", "RFC failure", own,
       block("RFC failure", own) + "**** ERROR in RfcOpen\n", " - " + own},
      {"another run's text begins like the own one", "x", "system D0", foreign, " - Please Check Trace-File !"},
      {"own text begins like another run's", "x", own + " again", block("x", own), " - Please Check Trace-File !"},
      {"own text cut where its piece ends", "x", long_own, block("x", long_own) + foreign,
       " - " + long_own.substr(0, 87)},
      {"line breaks of the own text are blanks in the trace", "x", "first\nsecond\r", block("x", "first second "),
       " - first second "},
      {"no last error of the own", "", "", foreign, " - Please Check Trace-File !"},
      {"a status is no run's own: every failure has the same", "partner gone", "not in the trace",
       block("partner gone", "") + foreign, " - Please Check Trace-File !"},
  };
  for (const auto& c : cases) {
    ScratchDirectory directory;
    reset_fake_rfc_library();
    set_last_error(c.last_status, c.last_message);
    const RunPresence not_alone;                                // one that could not join never counts as alone
    directory.write("Dev_Rfc.Trc", block("RFC failure", own));  // before the connection: not this run's
    const TraceWindow window = start_trace_window();
    std::ofstream("Dev_Rfc.Trc", std::ios::binary | std::ios::app) << c.window;
    EXPECT_EQ(scan(not_alone, window), c.expected) << c.what;
  }
}

TEST(TraceFileScan, LastErrorIsAskedOnlyWhenOthersMayHaveWritten) {
  reset_fake_rfc_library();
  after_scan(block("RFC failure", "alone"));
  EXPECT_TRUE(fake_rfc_library().events.empty());

  ScratchDirectory directory;
  directory.write("Dev_Rfc.Trc", block("RFC failure", "beside others"));
  const RunPresence not_alone;
  EXPECT_EQ(scan(not_alone, TraceWindow{}), " - Please Check Trace-File !");
  EXPECT_EQ(fake_rfc_library().events, std::vector<std::string>{"RfcLastError"});
  std::remove("Dev_Rfc.Trc");
  EXPECT_EQ(scan(not_alone, TraceWindow{}), " - Look for Trace-File");
}
