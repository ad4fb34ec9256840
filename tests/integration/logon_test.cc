// Opening a connection: where it goes, what the logon carries, and each way it fails.
#include <gtest/gtest.h>

#include "rfc_test_fixture.h"
#include "sensor_like_client.h"

namespace {

const char* const checked_system =
    "[system]\n"
    "listen = {host}:3300\n"
    "client = 100\n"
    "user = MONITOR\n"
    "password = Geheim42\n";

class Logon : public RfcTest {};

TEST_F(Logon, AcceptedLogonSendsTheValuesWithoutThePaddingAndNeverThePassword) {
  start_sim(checked_system);
  const rfc_handle handle = open_application_server(host(), 0);
  EXPECT_NE(handle, RFC_NULL_HANDLE);
  RfcClose(handle);
  EXPECT_EQ(stop_sim(), std::vector<std::string>{"logon " + address() + " client=100 user=MONITOR lang=E"});
  EXPECT_EQ(trace_file(), "<none>");
}

TEST_F(Logon, UserInLowerCaseIsAcceptedWhenItMatchesUpperCased) {
  start_sim(checked_system);
  LogonValues logon;
  logon.user = "monitor";
  const rfc_handle handle = open_application_server(host(), 0, logon);
  EXPECT_NE(handle, RFC_NULL_HANDLE);
  RfcClose(handle);
  EXPECT_EQ(stop_sim(), std::vector<std::string>{"logon " + address() + " client=100 user=monitor lang=E"});
}

TEST_F(Logon, WrongClientUserOrPasswordGivesTheNullHandle) {
  start_sim(checked_system);
  LogonValues wrong_client, wrong_user, wrong_password;
  wrong_client.client = "200";
  wrong_user.user = "MONITOR2";
  wrong_password.password = "geheim42";
  EXPECT_EQ(open_application_server(host(), 0, wrong_client), RFC_NULL_HANDLE);
  EXPECT_EQ(open_application_server(host(), 0, wrong_user), RFC_NULL_HANDLE);
  EXPECT_EQ(open_application_server(host(), 0, wrong_password), RFC_NULL_HANDLE);
  // Every attempt reached the system; each refusal is a trace block of its own.
  EXPECT_EQ(stop_sim().size(), 3u);
  EXPECT_EQ(trace_file(),
            "**** ERROR in RfcOpen\n"
            "T:0001 ======> logon rejected\n"
            "ERROR       logon to " + address() + " rejected: client 200 is not available in this system\n\n"
            "**** ERROR in RfcOpen\n"
            "T:0002 ======> logon rejected\n"
            "ERROR       logon to " + address() + " rejected: name or password is incorrect\n\n"
            "**** ERROR in RfcOpen\n"
            "T:0003 ======> logon rejected\n"
            "ERROR       logon to " + address() + " rejected: name or password is incorrect\n\n");
}

TEST_F(Logon, SystemThatRejectsEveryLogonGivesTheNullHandleAndTheLastErrorSaysWhy) {
  start_sim("[system]\nlisten = {host}:3300\nlogon = reject\n");
  EXPECT_EQ(open_application_server(host(), 0), RFC_NULL_HANDLE);
  rfc_error_info error{};
  EXPECT_EQ(RfcLastError(&error), 0);
  EXPECT_STREQ(error.key, "RFC_ERROR_LOGON_FAILURE");
  EXPECT_STREQ(error.status, "logon rejected");
  EXPECT_EQ(std::string(error.message), "logon to " + address() + " rejected: name or password is incorrect");
  EXPECT_STREQ(error.internal_status, "RfcOpen");
}

TEST_F(Logon, NothingListeningGivesTheNullHandleAndATraceBlock) {
  EXPECT_EQ(open_application_server(host(), 0), RFC_NULL_HANDLE);
  EXPECT_EQ(trace_file(),
            "**** ERROR in RfcOpen\n"
            "T:0001 ======> connection refused\n"
            "ERROR       connection to " + address() + " refused\n\n");
}

TEST_F(Logon, SystemNumberSelectsThePortAbove3300) {
  start_sim("[system]\nlisten = {host}:3342\n");
  const rfc_handle handle = open_application_server(host(), 42);
  EXPECT_NE(handle, RFC_NULL_HANDLE);
  RfcClose(handle);
  EXPECT_EQ(stop_sim(), std::vector<std::string>{"logon " + address(3342) + " client=100 user=MONITOR lang=E"});
}

TEST_F(Logon, SystemNumberOutside0To99IsRefusedWithoutConnecting) {
  EXPECT_EQ(open_application_server(host(), 100), RFC_NULL_HANDLE);
  EXPECT_EQ(open_application_server(host(), -1), RFC_NULL_HANDLE);
  EXPECT_EQ(trace_file(),
            "**** ERROR in RfcOpen\nT:0001 ======> invalid logon options\nERROR       invalid system number 100\n\n"
            "**** ERROR in RfcOpen\nT:0002 ======> invalid logon options\nERROR       invalid system number -1\n\n");
}

TEST_F(Logon, GatewayServiceIsSapgwWithTheSystemNumberOrAPortNumber) {
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

TEST_F(Logon, UnusableGatewayServiceIsRefusedWithoutConnecting) {
  for (const char* service : {"sapgw100", "sapgw", "gw07", "0", "65536"})
    EXPECT_EQ(open_gateway(host(), service), RFC_NULL_HANDLE) << service;
  EXPECT_NE(trace_file().find("ERROR       invalid gateway service sapgw100\n"), std::string::npos);
}

TEST_F(Logon, LogonAnswerLaterThanTheLogonTimeoutGivesTheNullHandle) {
  // The one slow test: the logon timeout (5 s) has to pass.
  start_sim("[system]\nlisten = {host}:3300\ndelay_ms = 8000\n");
  EXPECT_EQ(open_application_server(host(), 0), RFC_NULL_HANDLE);
  EXPECT_EQ(trace_file(),
            "**** ERROR in RfcOpen\n"
            "T:0001 ======> logon timeout\n"
            "ERROR       no logon answer from " + address() + " within 5 s\n\n");
}

TEST_F(Logon, ClosingTheNullHandleOrAClosedOneDoesNothing) {
  start_sim("[system]\nlisten = {host}:3300\n");
  const rfc_handle handle = open_application_server(host(), 0);
  ASSERT_NE(handle, RFC_NULL_HANDLE);
  RfcClose(handle);
  RfcClose(handle);
  RfcClose(RFC_NULL_HANDLE);
  // The freed connection is ready for the next open.
  const rfc_handle again = open_application_server(host(), 0);
  EXPECT_NE(again, RFC_NULL_HANDLE);
  RfcClose(again);
}

}  // namespace
