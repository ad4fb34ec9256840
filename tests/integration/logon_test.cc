// The stand-in library's connect and logon bounds.  These tests guard the test
// world itself, not the sensor: the sensor's time budget (src/common/
// time_budget.h) reckons with these bounds, and the end-to-end cases of
// silent systems rely on them; what the sensor makes of a refused or rejected
// logon is pinned by those cases.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "rfc_test_fixture.h"
#include "sensor_like_client.h"

namespace {

class Logon : public RfcTest {};

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
