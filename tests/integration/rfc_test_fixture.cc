#include "rfc_test_fixture.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

// The position of the running test among all the binary's tests; the same
// whatever filter selects it, so each test keeps its address.
int running_test_index() {
  const ::testing::UnitTest& unit = *::testing::UnitTest::GetInstance();
  const ::testing::TestInfo* running = unit.current_test_info();
  int index = 0;
  for (int s = 0; s < unit.total_test_suite_count(); ++s) {
    const ::testing::TestSuite* suite = unit.GetTestSuite(s);
    for (int t = 0; t < suite->total_test_count(); ++t, ++index)
      if (suite->GetTestInfo(t) == running) return index;
  }
  return index;
}

void RFC_CALL record_handler(char* operation) { handler_calls().push_back(operation); }

// The name the build gives its tests' network: a hash of its directory's path.
#ifndef RFC_TEST_NET_DEFAULT
#define RFC_TEST_NET_DEFAULT ""
#endif

// The text naming this suite's network (tests/e2e/README.md):
// QUENMAREL_TEST_NET when set, else the build's own name for it.
std::string test_network() {
  const char* network = std::getenv("QUENMAREL_TEST_NET");
  return network != nullptr && *network != '\0' ? network : RFC_TEST_NET_DEFAULT;
}

// Address INDEX (below 1000) of the suite's own block: one of the 4096 blocks
// of four /24 networks in 127.64.0.0/10, picked by a hash (FNV-1a) of the
// network's name.  The end-to-end scripts take theirs from 127.128.0.0 on.
std::string suite_address(int index) {
  std::uint32_t hash = 2166136261u;
  for (const char c : test_network()) hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
  const std::uint32_t block = hash % 4096;
  return "127." + std::to_string(64 + block / 64) + "." + std::to_string(block % 64 * 4 + index / 250) + "." +
         std::to_string(index % 250 + 1);
}

}  // namespace

// A test binary of its own starts its tests' addresses further on, so that
// it can run beside the others.
#ifndef RFC_TEST_FIRST_ADDRESS_INDEX
#define RFC_TEST_FIRST_ADDRESS_INDEX 0
#endif

void RfcTest::SetUp() {
  const int index = RFC_TEST_FIRST_ADDRESS_INDEX + running_test_index();
  host_ = suite_address(index);
  previous_directory_ = std::filesystem::current_path().string();
  std::string pattern = (std::filesystem::temp_directory_path() / "rfclib_test_XXXXXX").string();
  ASSERT_NE(mkdtemp(pattern.data()), nullptr);
  directory_ = pattern;
  std::filesystem::current_path(directory_);
  rfc_environment_record no_handler{nullptr, nullptr};
  RfcEnvironment(&no_handler);
  handler_calls().clear();
}

void RfcTest::TearDown() {
  sim.stop(SIGTERM);
  std::filesystem::current_path(previous_directory_);
  std::error_code ignored;
  std::filesystem::remove_all(directory_, ignored);
}

std::string RfcTest::address(int port) const { return host_ + ":" + std::to_string(port); }

std::string RfcTest::with_host(std::string text) const {
  for (std::size_t at = text.find("{host}"); at != std::string::npos; at = text.find("{host}", at + host_.size()))
    text.replace(at, 6, host_);
  return text;
}

void RfcTest::start_sim(const std::string& scenario) {
  write_file("scenario.txt", with_host(scenario));
  ASSERT_TRUE(sim.start((std::filesystem::current_path() / "scenario.txt").string())) << sim.errors();
}

std::vector<std::string> RfcTest::stop_sim() { return sim.stop(SIGTERM); }

int RfcTest::connect_raw(int port) const {
  const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in target{};
  target.sin_family = AF_INET;
  target.sin_port = htons(static_cast<std::uint16_t>(port));
  inet_pton(AF_INET, host_.c_str(), &target.sin_addr);
  if (connect(fd, reinterpret_cast<sockaddr*>(&target), sizeof target) == 0) return fd;
  close(fd);
  return -1;
}

double seconds_since(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

int RfcTest::listen_raw(int port, int backlog) const {
  const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  inet_pton(AF_INET, host_.c_str(), &address.sin_addr);
  if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 && listen(fd, backlog) == 0) return fd;
  close(fd);
  return -1;
}

void write_file(const std::string& name, const std::string& content) {
  std::ofstream file(name, std::ios::binary | std::ios::trunc);
  file << content;
}

std::string trace_file() {
  std::ifstream file("Dev_Rfc.Trc", std::ios::binary);
  if (!file) return "<none>";
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::vector<std::string>& handler_calls() {
  static std::vector<std::string> calls;
  return calls;
}

void install_recording_handler() {
  rfc_environment_record environment{record_handler, nullptr};
  RfcEnvironment(&environment);
}
