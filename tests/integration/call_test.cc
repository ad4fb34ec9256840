// The stand-in library's call bound, from sending the call to the last byte of
// its reply.  These tests guard the test world itself, not the sensor: the
// sensor's time budget (src/common/time_budget.h) reckons with this bound,
// and the end-to-end cases of slow systems rely on it; what the sensor makes
// of each answer to a call is pinned by those cases.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "rfc_test_fixture.h"
#include "sensor_like_client.h"

namespace {

class Call : public RfcTest {
 protected:
  /// Starts a system that answers calls with `settings` and opens a connection to it.
  rfc_handle open_system(const std::string& settings) {
    start_sim("[system]\nlisten = {host}:3300\n" + settings);
    const rfc_handle handle = open_application_server(host(), 0);
    EXPECT_NE(handle, RFC_NULL_HANDLE);
    return handle;
  }
};

TEST_F(Call, ReplyDelayedWellWithinTheCallTimeoutStillArrives) {
  const rfc_handle handle = open_system("delay_ms = 300\nPAGE_WP_LOCAL = 12\n");
  const QueryResult result = query_roll_page_sizes(handle);
  RfcClose(handle);
  EXPECT_EQ(result.code, RFC_RESULT_OK);
  EXPECT_EQ(result.values[4], 12);
}

TEST_F(Call, ReplyDrippedInEndsAtTheReplyBoundAndNotAtTwiceIt) {
  // The slowest test: the reply bound (30 s) has to pass.  The header's last
  // byte comes at 29 s; a fresh bound for the payload would wait until 59 s.
  install_recording_handler();
  const rfc_handle handle = open_system("reply_drip_ms = 14500\n");
  const auto start = std::chrono::steady_clock::now();
  const QueryResult result = query_roll_page_sizes(handle);
  EXPECT_LT(seconds_since(start), 30.0 + 8.0);
  RfcClose(handle);
  EXPECT_EQ(result.code, RFC_RESULT_FAILURE);
  EXPECT_EQ(result.values[0], untouched);
  EXPECT_EQ(handler_calls(), std::vector<std::string>{"RfcReceive"});
  EXPECT_EQ(trace_file(),
            "**** ERROR in RfcReceive\nT:0001 ======> reply timeout\n"
            "ERROR       no reply from " +
                address() + " within 30 s\n\n");
}

}  // namespace
