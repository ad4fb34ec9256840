#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "platform/process.h"

namespace {

enum class Output { DevNull, Full, Closed };

// In the death test's child: standard output as the case wants it, then
// `written` bytes printed to it and the run ended with `exit_code`.
void print_and_exit(Output output, std::size_t written, int exit_code) {
  if (output == Output::Closed) close(STDOUT_FILENO);
  if (output == Output::DevNull) std::freopen("/dev/null", "w", stdout);
  if (output == Output::Full) std::freopen("/dev/full", "w", stdout);
  prepare_standard_streams("quenmarel");
  std::fputs(std::string(written, 'x').c_str(), stdout);
  exit_process(exit_code);
}

constexpr const char* undelivered = "quenmarel: standard output could not be written completely\n";

}  // namespace

TEST(ExitProcess, LostOutputIsNoSuccess) {
  const struct {
    Output output;
    std::size_t written;
    int exit_code;
    int ends_with;
    const char* says;
  } cases[] = {
      {Output::DevNull, 100, 0, 0, ""},
      {Output::Full, 0, 0, 0, ""},  // nothing was lost
      {Output::Full, 100, 0, 2, undelivered},
      {Output::Full, 100000, 0, 2, undelivered},  // lost while the run went on, not only at the end
      {Output::Full, 100, 1, 1, undelivered},     // a failed run keeps its own code
      {Output::Full, 100, 2, 2, undelivered},
      {Output::Closed, 100, 0, 2, undelivered},
  };
  for (const auto& test : cases) {
    EXPECT_EXIT(print_and_exit(test.output, test.written, test.exit_code), ::testing::ExitedWithCode(test.ends_with),
                ::testing::Matcher<const std::string&>(test.says))
        << static_cast<int>(test.output) << " " << test.written << " " << test.exit_code;
  }
}

// Without this, the first file opened would get standard output's number and
// the document would be written into it.
TEST(ExitProcess, ClosedStandardStreamsAreTakenBeforeAnyFileIsOpened) {
  EXPECT_EXIT(
      {
        close(STDIN_FILENO);
        close(STDOUT_FILENO);
        prepare_standard_streams("quenmarel");
        const int opened = open("/dev/null", O_WRONLY);
        const bool taken = fcntl(STDIN_FILENO, F_GETFD) != -1 && fcntl(STDOUT_FILENO, F_GETFD) != -1;
        std::_Exit(opened > STDERR_FILENO && taken ? 7 : 8);
      },
      ::testing::ExitedWithCode(7), "");
}
