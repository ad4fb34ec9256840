#include "rfc/trace_file_scan.h"

#include <gtest/gtest.h>

#include "test_support.h"

namespace {

std::string after_scan(const std::string* trace_file) {
  ScratchDirectory directory;
  if (trace_file != nullptr) directory.write("Dev_Rfc.Trc", *trace_file);
  BoundedText<300> message("Error 1014: RFC-Failure raised !");
  scan_rfc_trace_file(message);
  return std::string(message.view()).substr(32);
}

std::string after_scan(const std::string& trace_file) { return after_scan(&trace_file); }

}  // namespace

TEST(TraceFileScan, MissingTraceFileAsksToLookForIt) { EXPECT_EQ(after_scan(nullptr), " - Look for Trace-File"); }

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
