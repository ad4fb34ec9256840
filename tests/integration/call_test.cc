// RfcCall and RfcReceive: what the end-to-end cases cannot bring about: the
// library's own texts, the limit of an exception text, a slow or a vanished partner.
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

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

TEST_F(Call, FailureSystemExceptionOrAbortWithoutTextGetsTheLibrarysOwnTextInTheTrace) {
  const struct {
    const char* settings;
    int code;
    const char* trace;
  } answers[] = {
      {"call = failure\n", RFC_RESULT_FAILURE,
       "**** ERROR in RfcReceive\nT:0001 ======> RFC failure\nERROR       RFC failure in SAPTUNE_ROLL_PAGE_SIZES\n\n"},
      {"call = system_exception\n", RFC_RESULT_SYS_EXCEPTION,
       "**** ERROR in RfcReceive\nT:0001 ======> system exception\n"
       "ERROR       system exception in SAPTUNE_ROLL_PAGE_SIZES\n\n"},
      {"call = abort\n", RFC_RESULT_FAILURE,
       "**** ERROR in RfcReceive\nT:0001 ======> connection aborted\n"
       "ERROR       connection to {host}:3300 aborted by partner\n\n"},
  };
  for (const auto& answer : answers) {
    std::remove("Dev_Rfc.Trc");
    const rfc_handle handle = open_system(answer.settings);
    const QueryResult result = query_roll_page_sizes(handle);
    RfcClose(handle);
    stop_sim();
    EXPECT_EQ(result.code, answer.code) << answer.settings;
    EXPECT_EQ(result.values[0], untouched) << answer.settings;
    EXPECT_EQ(trace_file(), with_host(answer.trace)) << answer.settings;
  }
  EXPECT_TRUE(handler_calls().empty()) << "an abort without an installed handler only returns 1";
}

TEST_F(Call, ReplyWithoutAValueFailsLikeResultCode1StoresNothingAndKeepsTheConnection) {
  install_recording_handler();
  const rfc_handle handle = open_system("PAGE_AREA_SIZE = 9\nomit = ROLL_MAX_USED PAGE_WP_LOCAL\n");
  const QueryResult first = query_roll_page_sizes(handle);
  const QueryResult second = query_roll_page_sizes(handle);
  RfcClose(handle);
  EXPECT_EQ(first.code, RFC_RESULT_FAILURE);
  EXPECT_EQ(second.code, RFC_RESULT_FAILURE) << "the connection is still usable";
  EXPECT_EQ(first.values[1], untouched) << "not even the values that came are stored";
  EXPECT_FALSE(first.exception_given);
  EXPECT_TRUE(handler_calls().empty());
  rfc_error_info error{};
  RfcLastError(&error);
  EXPECT_STREQ(error.key, "RFC_ERROR_FAILURE");
  EXPECT_STREQ(error.message, "value PAGE_WP_LOCAL missing from the reply");
  EXPECT_EQ(trace_file(),
            "**** ERROR in RfcReceive\nT:0001 ======> incomplete reply\n"
            "ERROR       value PAGE_WP_LOCAL missing from the reply\n\n"
            "**** ERROR in RfcReceive\nT:0002 ======> incomplete reply\n"
            "ERROR       value PAGE_WP_LOCAL missing from the reply\n\n");
}

TEST_F(Call, ExceptionTextIsKeptWholeUpTo1023CharactersAndCutPastThem) {
  for (std::size_t length : {1023, 1024, 2000}) {
    const rfc_handle handle = open_system("call = exception\ntext = " + std::string(length, 'x') + "\n");
    const QueryResult result = query_roll_page_sizes(handle);
    RfcClose(handle);
    stop_sim();
    EXPECT_EQ(result.code, RFC_RESULT_EXCEPTION);
    EXPECT_EQ(result.exception, std::string(1023, 'x')) << length;
  }
}

TEST_F(Call, PartnerGoneBeforeTheCallIsReportedByRfcCall) {
  install_recording_handler();
  const rfc_handle handle = open_system("");
  // rfcsim ends, closing its connections in the order they were accepted; once
  // the witness, accepted last, sees the end, the library's connection has too.
  const int witness = connect_raw(3300);
  ASSERT_GE(witness, 0);
  stop_sim();
  pollfd watched{witness, POLLIN, 0};
  char byte = 0;
  EXPECT_TRUE(poll(&watched, 1, 10000) == 1 && recv(witness, &byte, 1, 0) <= 0);
  close(witness);
  EXPECT_EQ(query_roll_page_sizes(handle).code, RFC_RESULT_FAILURE);
  RfcClose(handle);
  EXPECT_EQ(handler_calls(), std::vector<std::string>{"RfcCall"});
  EXPECT_NE(trace_file().find("ERROR       connection to " + address() + " closed by partner\n"), std::string::npos);
}

}  // namespace
