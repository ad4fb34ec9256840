// rfcsim itself: its log lines, several systems and clients, its end, and refused scenarios.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <filesystem>

#include "rfc_test_fixture.h"
#include "sensor_like_client.h"

namespace {

class Rfcsim : public RfcTest {
 protected:
  /// Runs rfcsim on a scenario that it is expected to refuse.
  void run_refused(const std::string& scenario) {
    write_file("bad.txt", scenario);
    path_ = (std::filesystem::current_path() / "bad.txt").string();
    sim.run_to_end(path_);
  }
  std::string path_;
};

TEST_F(Rfcsim, LogsEachLogonAndCallOfEverySystemInOrder) {
  start_sim("# two systems\n[system]\nlisten = {host}:3300\n\n[system]\n  listen   =   {host}:3301  \nclient = 200\n");
  LogonValues other;
  other.client = "200";
  other.user = "SAPMON";
  other.language = "D";
  const rfc_handle first = open_application_server(host(), 0);
  const rfc_handle second = open_application_server(host(), 1, other);
  query_roll_page_sizes(second);
  query_roll_page_sizes(first);
  RfcClose(first);
  RfcClose(second);
  EXPECT_EQ(stop_sim(), (std::vector<std::string>{"logon " + address(3300) + " client=100 user=MONITOR lang=E",
                                                  "logon " + address(3301) + " client=200 user=SAPMON lang=D",
                                                  "call " + address(3301) + " SAPTUNE_ROLL_PAGE_SIZES",
                                                  "call " + address(3300) + " SAPTUNE_ROLL_PAGE_SIZES"}));
  EXPECT_EQ(sim.exit_code(), 0);
}

TEST_F(Rfcsim, ClientThatLeavesMidFrameDoesNotDisturbTheOthers) {
  start_sim("[system]\nlisten = {host}:3300\ndelay_ms = 200\nPAGE_AREA_SIZE = 9\n");
  const rfc_handle handle = open_application_server(host(), 0);
  const int rude = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in target{};
  target.sin_family = AF_INET;
  target.sin_port = htons(3300);
  inet_pton(AF_INET, host().c_str(), &target.sin_addr);
  ASSERT_EQ(connect(rude, reinterpret_cast<sockaddr*>(&target), sizeof target), 0);
  const unsigned char half_a_logon[] = {'L', 0, 40, 0, 3, '1'};
  ASSERT_EQ(send(rude, half_a_logon, sizeof half_a_logon, 0), static_cast<ssize_t>(sizeof half_a_logon));
  close(rude);
  const QueryResult result = query_roll_page_sizes(handle);
  RfcClose(handle);
  EXPECT_EQ(result.code, RFC_RESULT_OK);
  EXPECT_EQ(result.values[1], 9);
  // A fresh client is served after that as well.
  const rfc_handle later = open_application_server(host(), 0);
  EXPECT_NE(later, RFC_NULL_HANDLE);
  RfcClose(later);
}

TEST_F(Rfcsim, EndsAtOnceOnSigintEvenWithAClientWaitingForItsReply) {
  start_sim("[system]\nlisten = {host}:3300\n[system]\nlisten = {host}:3301\ndelay_ms = 600000\n");
  const int waiting = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in target{};
  target.sin_family = AF_INET;
  target.sin_port = htons(3301);
  inet_pton(AF_INET, host().c_str(), &target.sin_addr);
  ASSERT_EQ(connect(waiting, reinterpret_cast<sockaddr*>(&target), sizeof target), 0);
  const unsigned char logon[] = {'L', 0, 8, 0, 0, 0, 0, 0, 0, 0, 0};
  ASSERT_EQ(send(waiting, logon, sizeof logon, 0), static_cast<ssize_t>(sizeof logon));
  // The logon line is printed before the delay, so seeing it proves the wait began.
  ASSERT_TRUE(sim.wait_for_output("client= user= lang=\n"));
  EXPECT_EQ(sim.stop(SIGINT), std::vector<std::string>{"logon " + address(3301) + " client= user= lang="});
  EXPECT_EQ(sim.exit_code(), 0);
  close(waiting);
}

TEST_F(Rfcsim, RefusedScenarioNamesTheFileAndTheLine) {
  const struct {
    const char* scenario;
    const char* message;
  } cases[] = {
      {"[system]\nlisten = 127.0.0.1:3300\n# fine so far\nflavour = mild\n", "line 4: unknown key 'flavour'"},
      {"listen = 127.0.0.1:3300\n", "line 1: 'listen' before the first [system]"},
      {"[system]\nlisten = 127.0.0.1:3300\n\n[system]\nclient = 100\n", "line 4: [system] without listen"},
      {"[system]\nlisten = 127.0.0.1:3300\nPAGE_AREA_SIZE = 2147483648\n",
       "line 3: PAGE_AREA_SIZE must be a 32-bit signed integer"},
      {"[system]\nlisten = 127.0.0.1\n", "line 2: listen must be HOST:PORT, got '127.0.0.1'"},
      {"[system]\nlisten = 127.0.0.1:3300\ncall = code\ncode = 3\n", "line 4: code must be a number from 4"},
      {"[system]\nlisten = 127.0.0.1:3300\ncall = code\n", "line 1: call = code without code"},
      {"[system]\nlisten = 127.0.0.1:3300\ncall = crash\n", "line 3: call must be ok, failure"},
      {"[system]\nlisten = 127.0.0.1:3300\nlogon = maybe\n", "line 3: logon must be accept or reject"},
      {"[system]\nlisten = 127.0.0.1:3300\nuser = A\nuser = B\n", "line 4: 'user' given twice"},
      {"[system]\nlisten = 127.0.0.1:3300\nthis line has no equals sign\n", "line 3: expected 'key = value'"},
      {"# nothing but a comment\n", "line 1: no [system] section"},
  };
  for (const auto& refused : cases) {
    run_refused(refused.scenario);
    EXPECT_EQ(sim.exit_code(), 2) << refused.scenario;
    EXPECT_NE(sim.errors().find("rfcsim: " + path_ + " " + refused.message), std::string::npos)
        << sim.errors() << " for\n" << refused.scenario;
  }
}

TEST_F(Rfcsim, TextUpTo2000CharactersIsTakenAndALongerOneRefused) {
  run_refused("[system]\nlisten = {host}:3300\ntext = " + std::string(2001, 't') + "\n");
  EXPECT_EQ(sim.exit_code(), 2);
  EXPECT_NE(sim.errors().find("line 3: text longer than 2000 characters"), std::string::npos) << sim.errors();
  start_sim("[system]\nlisten = {host}:3300\ncall = exception\ntext = " + std::string(2000, 't') + "\n");
  const rfc_handle handle = open_application_server(host(), 0);
  // The whole text crossed the wire; the library keeps 1023 characters of it.
  EXPECT_EQ(query_roll_page_sizes(handle).exception, std::string(1023, 't'));
  RfcClose(handle);
}

TEST_F(Rfcsim, AddressAlreadyInUseEndsWithCode1) {
  start_sim("[system]\nlisten = {host}:3300\n");
  RfcsimProcess second;
  second.run_to_end((std::filesystem::current_path() / "scenario.txt").string());
  EXPECT_EQ(second.exit_code(), 1);
  EXPECT_NE(second.errors().find("cannot listen on " + address() + " (line 1)"), std::string::npos)
      << second.errors();
}

}  // namespace
