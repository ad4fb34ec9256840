#include "platform/trace_file.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <sstream>
#include <string>
#include <vector>

#include "test_support.h"

namespace {

constexpr int writers = 8;
constexpr int blocks_per_writer = 250;

void write_many_blocks() {
  for (int block = 0; block < blocks_per_writer; ++block)
    write_trace_block("RfcReceive", "RFC failure",
                      "a failure of one of the writers, long enough to be written in parts");
}

}  // namespace

TEST(TraceFileWriter, LongDetailIsCutButTheBlockKeepsItsEnd) {
  ScratchDirectory directory;
  write_trace_block(std::string(200, 'f'), std::string(200, 's'), std::string(5000, 'd'));
  const std::string trace = directory.read("Dev_Rfc.Trc");
  EXPECT_EQ(trace.size(), 4095u);
  EXPECT_EQ(trace.substr(0, 14 + 127 + 1), "**** ERROR in " + std::string(127, 'f') + "\n");
  EXPECT_NE(trace.find("T:0001 ======> " + std::string(127, 's') + "\nERROR       ddd"), std::string::npos);
  EXPECT_EQ(trace.substr(trace.size() - 3), "d\n\n");
}

// Processes that fail at the same moment append whole blocks, one after the other.
TEST(TraceFileWriter, BlocksOfProcessesWritingAtOnceNeverMix) {
  ScratchDirectory directory;
  std::vector<pid_t> started;
  for (int writer = 0; writer < writers; ++writer) {
    const pid_t pid = fork();
    if (pid == 0) {
      write_many_blocks();
      _exit(0);
    }
    started.push_back(pid);
  }
  for (pid_t pid : started) waitpid(pid, nullptr, 0);
  std::istringstream trace(directory.read("Dev_Rfc.Trc"));
  std::string line;
  int lines = 0;
  const std::string expected[] = {"**** ERROR in RfcReceive", "T:", "ERROR       a failure of one of the writers", ""};
  while (std::getline(trace, line)) {
    const std::string& start = expected[lines % 4];
    ASSERT_EQ(start.empty() ? line : line.substr(0, start.size()), start) << "line " << lines + 1;
    ++lines;
  }
  EXPECT_EQ(lines, 4 * writers * blocks_per_writer);
}
