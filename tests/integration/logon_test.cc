// Opening a connection: the refusals and limits the end-to-end cases do not reach.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "rfc_test_fixture.h"
#include "sensor_like_client.h"

namespace {

class Logon : public RfcTest {};

TEST_F(Logon, RejectedLogonGivesTheNullHandleAndSaysWhyInTheTraceAndTheLastError) {
  start_sim(
      "[system]\nlisten = {host}:3300\nclient = 100\nuser = MONITOR\n"
      "[system]\nlisten = {host}:3301\nlogon = reject\n");
  LogonValues wrong_client, wrong_user;
  wrong_client.client = "200";
  wrong_user.user = "MONITOR2";
  EXPECT_EQ(open_application_server(host(), 0, wrong_client), RFC_NULL_HANDLE);
  EXPECT_EQ(open_application_server(host(), 0, wrong_user), RFC_NULL_HANDLE);
  EXPECT_EQ(open_application_server(host(), 1), RFC_NULL_HANDLE);
  EXPECT_EQ(stop_sim().size(), 3u) << "every attempt reached the system";
  EXPECT_EQ(trace_file(),
            "**** ERROR in RfcOpen\nT:0001 ======> logon rejected\n"
            "ERROR       logon to " +
                address() +
                " rejected: client 200 is not available in this system\n\n"
                "**** ERROR in RfcOpen\nT:0002 ======> logon rejected\n"
                "ERROR       logon to " +
                address() +
                " rejected: name or password is incorrect\n\n"
                "**** ERROR in RfcOpen\nT:0003 ======> logon rejected\n"
                "ERROR       logon to " +
                address(3301) + " rejected: name or password is incorrect\n\n");
  rfc_error_info error{};
  EXPECT_EQ(RfcLastError(&error), 0);
  EXPECT_STREQ(error.key, "RFC_ERROR_LOGON_FAILURE");
  EXPECT_STREQ(error.status, "logon rejected");
  EXPECT_STREQ(error.internal_status, "RfcOpen");
}

TEST_F(Logon, SystemNumberOutside0To99OrAnUnusableGatewayServiceIsRefusedWithoutConnecting) {
  std::string expected;
  int block = 0;
  const auto expect_refused = [&](rfc_handle handle, const std::string& problem) {
    EXPECT_EQ(handle, RFC_NULL_HANDLE) << problem;
    expected += "**** ERROR in RfcOpen\nT:000" + std::to_string(++block) + " ======> invalid logon options\n" +
                "ERROR       invalid " + problem + "\n\n";
  };
  expect_refused(open_application_server(host(), 100), "system number 100");
  expect_refused(open_application_server(host(), -1), "system number -1");
  for (const char* service : {"sapgw100", "sapgw", "gw07", "0", "65536"})
    expect_refused(open_gateway(host(), service), std::string("gateway service ") + service);
  EXPECT_EQ(trace_file(), expected);
}

TEST_F(Logon, GatewayServiceIsSapgwInEitherCaseWithTheSystemNumberOrAPortNumber) {
  start_sim("[system]\nlisten = {host}:3307\n[system]\nlisten = {host}:4711\n");
  for (const char* service : {"sapgw07", "SAPGW07", "4711"}) {
    const rfc_handle handle = open_gateway(host(), service);
    EXPECT_NE(handle, RFC_NULL_HANDLE) << service;
    RfcClose(handle);
  }
  EXPECT_EQ(stop_sim(), (std::vector<std::string>{"logon " + address(3307) + " client=100 user=MONITOR lang=E",
                                                  "logon " + address(3307) + " client=100 user=MONITOR lang=E",
                                                  "logon " + address(4711) + " client=100 user=MONITOR lang=E"}));
}

TEST_F(Logon, LogonAnswerLateOrDrippedInEndsWithTheNullHandleWithinTheLogonBound) {
  // The slow tests: the logon bound (5 s) has to pass.  A dripping system sends
  // the last header byte of its refusal at 4.8 s; were the payload given a
  // bound of its own, the wait would run to 9.8 s.
  for (const char* settings : {"delay_ms = 8000\n", "logon = reject\nlogon_drip_ms = 2400\n"}) {
    std::remove("Dev_Rfc.Trc");
    start_sim("[system]\nlisten = {host}:3300\n" + std::string(settings));
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(open_application_server(host(), 0), RFC_NULL_HANDLE) << settings;
    EXPECT_LT(seconds_since(start), 5.0 + 2.5) << settings;
    stop_sim();
    EXPECT_EQ(trace_file(),
              "**** ERROR in RfcOpen\n"
              "T:0001 ======> logon timeout\n"
              "ERROR       no logon answer from " +
                  address() + " within 5 s\n\n")
        << settings;
  }
}

TEST_F(Logon, ConnectionNeverAcceptedEndsAtTheConnectBound) {
  // A listener whose queue is full drops further requests unanswered, so the
  // connect itself has to time out.
  const int listener = listen_raw(3300, 0);
  ASSERT_GE(listener, 0);
  const int queued = connect_raw(3300);
  ASSERT_GE(queued, 0);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(open_application_server(host(), 0), RFC_NULL_HANDLE);
  EXPECT_LT(seconds_since(start), 5.0 + 2.5);
  close(queued);
  close(listener);
  EXPECT_EQ(trace_file(),
            "**** ERROR in RfcOpen\n"
            "T:0001 ======> connect timeout\n"
            "ERROR       no connection to " +
                address() + " within 5 s\n\n");
}

}  // namespace
