// rfcsim itself: clients that misbehave, its end, and the scenarios it refuses.
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <filesystem>

#include "rfc_test_fixture.h"
#include "sensor_like_client.h"

namespace {

class Rfcsim : public RfcTest {};

TEST_F(Rfcsim, ClientThatLeavesMidFrameDoesNotDisturbTheOthers) {
  start_sim("[system]\nlisten = {host}:3300\ndelay_ms = 200\nPAGE_AREA_SIZE = 9\n");
  const rfc_handle handle = open_application_server(host(), 0);
  const int rude = connect_raw(3300);
  ASSERT_GE(rude, 0);
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
  start_sim(
      "# a comment, then blanks around the values\n[system]\n  listen   =   {host}:3301  \n"
      "delay_ms = 600000\n");
  const int waiting = connect_raw(3301);
  ASSERT_GE(waiting, 0);
  const unsigned char logon[] = {'L', 0, 8, 0, 0, 0, 0, 0, 0, 0, 0};
  ASSERT_EQ(send(waiting, logon, sizeof logon, 0), static_cast<ssize_t>(sizeof logon));
  // The logon line is printed before the delay, so seeing it proves the wait began.
  ASSERT_TRUE(sim.wait_for_output("client= user= lang=\n"));
  EXPECT_EQ(sim.stop(SIGINT), std::vector<std::string>{"logon " + address(3301) + " client= user= lang="});
  EXPECT_EQ(sim.exit_code(), 0);
  close(waiting);
}

TEST_F(Rfcsim, SilentSystemLogsTheLogonAndKeepsTheConnectionWithoutAnswer) {
  start_sim("[system]\nlisten = {host}:3302\nlogon = silent\n");
  const int waiting = connect_raw(3302);
  ASSERT_GE(waiting, 0);
  const unsigned char logon[] = {'L', 0, 8, 0, 0, 0, 0, 0, 0, 0, 0};
  ASSERT_EQ(send(waiting, logon, sizeof logon, 0), static_cast<ssize_t>(sizeof logon));
  ASSERT_TRUE(sim.wait_for_output("client= user= lang=\n"));
  // Neither an answer nor the end of the connection comes.
  pollfd watched{waiting, POLLIN, 0};
  EXPECT_EQ(poll(&watched, 1, 300), 0);
  close(waiting);
}

TEST_F(Rfcsim, AddressTakenByAnotherProgramIsNamedWithTheSystemsReason) {
  const int taken = listen_raw(3303, 1);
  ASSERT_GE(taken, 0);
  write_file("taken.txt", with_host("[system]\nlisten = {host}:3303\n"));
  sim.run_to_end((std::filesystem::current_path() / "taken.txt").string());
  close(taken);
  EXPECT_EQ(sim.exit_code(), 1);
  EXPECT_EQ(sim.errors(), "rfcsim: cannot listen on " + address(3303) + ": Address already in use\n");
}

TEST_F(Rfcsim, RefusedScenarioNamesTheFileAndTheLine) {
  const struct {
    std::string scenario;
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
      {"[system]\nlisten = 127.0.0.1:3300\nreply_drip_ms = -1\n", "line 3: reply_drip_ms must be a number from 0"},
      {"[system]\nlisten = 127.0.0.1:3300\nomit = PAGE_WP_LOCAL PAGE_SIZE\n", "line 3: omit must name reported values"},
      {"[system]\nlisten = 127.0.0.1:3300\nuser = A\nuser = B\n", "line 4: 'user' given twice"},
      {"[system]\nlisten = 127.0.0.1:3300\nthis line has no equals sign\n", "line 3: expected 'key = value'"},
      {"[system]\nlisten = 127.0.0.1:3300\ntext = " + std::string(2001, 't') + "\n",
       "line 3: text longer than 2000 characters"},
      {"[system]\nlisten = 127.0.0.1:3300\ntext = C:\\temp\n", "line 3: text may hold a backslash only as"},
      {"[system]\nlisten = 127.0.0.1:3300\ntext = ends in \\\n", "line 3: text may hold a backslash only as"},
      {"# nothing but a comment\n", "line 1: no [system] section"},
  };
  const std::string path = (std::filesystem::current_path() / "bad.txt").string();
  for (const auto& refused : cases) {
    write_file("bad.txt", refused.scenario);
    sim.run_to_end(path);
    EXPECT_EQ(sim.exit_code(), 2) << refused.scenario;
    EXPECT_NE(sim.errors().find("rfcsim: " + path + " " + refused.message), std::string::npos)
        << sim.errors() << " for\n"
        << refused.scenario;
  }
}

}  // namespace
