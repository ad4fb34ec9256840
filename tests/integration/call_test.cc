// RfcCall and RfcReceive against every answer a system can give.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdint>
#include <string>

#include "rfc_test_fixture.h"
#include "sensor_like_client.h"

namespace {

// A plain TCP connection to rfcsim, to watch the partner's side.
int connect_witness(const std::string& host, int port) {
  const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  inet_pton(AF_INET, host.c_str(), &address.sin_addr);
  if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    close(fd);
    return -1;
  }
  return fd;
}

// Waits (at most 10 s) until the partner ends the connection; closes it.
bool wait_for_end(int fd) {
  pollfd watched{fd, POLLIN, 0};
  char byte = 0;
  const bool ended = poll(&watched, 1, 10000) == 1 && recv(fd, &byte, 1, 0) <= 0;
  close(fd);
  return ended;
}

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

TEST_F(Call, OkFillsAllElevenIntegersByPosition) {
  const rfc_handle handle = open_system(
      "PAGE_AREA_SHARED_MEMORY = 1\nPAGE_AREA_SIZE = -2\nPAGE_CURRENTLY_USED = 3\nPAGE_MAX_USED = 4\n"
      "PAGE_WP_LOCAL = 5\nPAGING_FILE_SIZE = 2147483647\nROLL_AREA_SHARED_MEMORY = 7\nROLL_AREA_SIZE = 8\n"
      "ROLL_CURRENTLY_USED = 9\nROLL_FILE_SIZE = -2147483648\nROLL_MAX_USED = 11\n");
  const QueryResult result = query_roll_page_sizes(handle);
  RfcClose(handle);
  EXPECT_EQ(result.code, RFC_RESULT_OK);
  const std::int32_t expected[11] = {1, -2, 3, 4, 5, INT32_MAX, 7, 8, 9, INT32_MIN, 11};
  for (int i = 0; i < 11; ++i) EXPECT_EQ(result.values[i], expected[i]) << "position " << i + 1;
  EXPECT_FALSE(result.exception_given);
  EXPECT_EQ(trace_file(), "<none>");
}

TEST_F(Call, ValuesTheScenarioLeavesOutArriveAsZero) {
  const rfc_handle handle = open_system("ROLL_MAX_USED = 77\n");
  const QueryResult result = query_roll_page_sizes(handle);
  RfcClose(handle);
  EXPECT_EQ(result.code, RFC_RESULT_OK);
  for (int i = 0; i < 10; ++i) EXPECT_EQ(result.values[i], 0) << "position " << i + 1;
  EXPECT_EQ(result.values[10], 77);
}

TEST_F(Call, ParameterTheSystemDoesNotKnowOrOfAnotherTypeStaysUntouched) {
  const rfc_handle handle = open_system("PAGE_AREA_SIZE = 5\nROLL_AREA_SIZE = 6\n");
  rfc_parameter none[1] = {{nullptr, 0, 0, 0, nullptr}};
  rfc_table_entry no_tables[1] = {{nullptr, 0, 0, 0, nullptr, 0, 0}};
  ASSERT_EQ(RfcCall(handle, "ANY_FUNCTION", none, no_tables), RFC_RESULT_OK);
  std::int32_t unknown = untouched, wrong_type = untouched, known = untouched;
  rfc_parameter receiving[4] = {{"NOT_A_VALUE", 11, RFC_TYPE_INT, 4, &unknown},
                                {"ROLL_AREA_SIZE", 14, 0, 4, &wrong_type},
                                {"PAGE_AREA_SIZE", 14, RFC_TYPE_INT, 4, &known},
                                {nullptr, 0, 0, 0, nullptr}};
  char* exception = nullptr;
  EXPECT_EQ(RfcReceive(handle, receiving, no_tables, &exception), RFC_RESULT_OK);
  RfcClose(handle);
  EXPECT_EQ(unknown, untouched);
  EXPECT_EQ(wrong_type, untouched);
  EXPECT_EQ(known, 5);
}

TEST_F(Call, FailureReturns1AndWritesTheTextOnTheTraceFilesErrorLine) {
  const rfc_handle handle = open_system("call = failure\ntext = gateway timeout\nPAGE_AREA_SIZE = 5\n");
  const QueryResult result = query_roll_page_sizes(handle);
  RfcClose(handle);
  EXPECT_EQ(result.code, RFC_RESULT_FAILURE);
  EXPECT_EQ(result.values[1], untouched);
  EXPECT_FALSE(result.exception_given);
  EXPECT_EQ(trace_file(),
            "**** ERROR in RfcReceive\n"
            "T:0001 ======> RFC failure\n"
            "ERROR       gateway timeout\n\n");
}

TEST_F(Call, FailureWithoutTextNamesTheFunctionOnTheErrorLine) {
  const rfc_handle handle = open_system("call = failure\n");
  EXPECT_EQ(query_roll_page_sizes(handle).code, RFC_RESULT_FAILURE);
  RfcClose(handle);
  EXPECT_EQ(trace_file(),
            "**** ERROR in RfcReceive\n"
            "T:0001 ======> RFC failure\n"
            "ERROR       RFC failure in SAPTUNE_ROLL_PAGE_SIZES\n\n");
}

TEST_F(Call, ExceptionReturns2WithItsTextAndWritesNoTrace) {
  const rfc_handle handle = open_system("call = exception\ntext = NOT_AUTHORIZED\n");
  const QueryResult result = query_roll_page_sizes(handle);
  RfcClose(handle);
  EXPECT_EQ(result.code, RFC_RESULT_EXCEPTION);
  EXPECT_TRUE(result.exception_given);
  EXPECT_EQ(result.exception, "NOT_AUTHORIZED");
  EXPECT_EQ(result.values[0], untouched);
  EXPECT_EQ(trace_file(), "<none>");
}

TEST_F(Call, SystemExceptionReturns3WithItsTextAndATraceBlock) {
  const rfc_handle handle = open_system("call = system_exception\ntext = SYSTEM_FAILURE in work process 4\n");
  const QueryResult result = query_roll_page_sizes(handle);
  RfcClose(handle);
  EXPECT_EQ(result.code, RFC_RESULT_SYS_EXCEPTION);
  EXPECT_EQ(result.exception, "SYSTEM_FAILURE in work process 4");
  EXPECT_EQ(trace_file(),
            "**** ERROR in RfcReceive\n"
            "T:0001 ======> system exception\n"
            "ERROR       SYSTEM_FAILURE in work process 4\n\n");
}

TEST_F(Call, OtherCodeIsReturnedAsItIsWithoutTraceOrText) {
  const rfc_handle handle = open_system("call = code\ncode = 7\ntext = ignored\n");
  const QueryResult result = query_roll_page_sizes(handle);
  RfcClose(handle);
  EXPECT_EQ(result.code, 7);
  EXPECT_FALSE(result.exception_given);
  EXPECT_EQ(result.values[0], untouched);
  EXPECT_EQ(trace_file(), "<none>");
}

TEST_F(Call, ExceptionTextIsKeptWholeUpTo1023CharactersAndCutPastThem) {
  const rfc_handle handle = open_system("call = exception\ntext = " + std::string(1023, 'x') + "\n");
  EXPECT_EQ(query_roll_page_sizes(handle).exception, std::string(1023, 'x'));
  RfcClose(handle);
  stop_sim();
  const rfc_handle longer = open_system("call = exception\ntext = " + std::string(1024, 'y') + "\n");
  EXPECT_EQ(query_roll_page_sizes(longer).exception, std::string(1023, 'y'));
  RfcClose(longer);
}

TEST_F(Call, AbortCallsTheHandlerWithRfcReceiveAndLastErrorDescribesIt) {
  install_recording_handler();
  const rfc_handle handle = open_system("call = abort\ntext = work process restarted\n");
  const QueryResult result = query_roll_page_sizes(handle);
  EXPECT_EQ(result.code, RFC_RESULT_FAILURE);
  EXPECT_EQ(handler_calls(), std::vector<std::string>{"RfcReceive"});
  rfc_error_info error{};
  RfcLastError(&error);
  EXPECT_STREQ(error.key, "RFC_ERROR_COMMUNICATION");
  EXPECT_STREQ(error.status, "connection aborted");
  EXPECT_STREQ(error.message, "work process restarted");
  EXPECT_STREQ(error.internal_status, "RfcReceive");

  // The broken connection stays broken: the next call fails in RfcCall.
  EXPECT_EQ(query_roll_page_sizes(handle).code, RFC_RESULT_FAILURE);
  EXPECT_EQ(handler_calls(), (std::vector<std::string>{"RfcReceive", "RfcCall"}));
  RfcLastError(&error);
  EXPECT_EQ(std::string(error.message), "connection to " + address() + " broken");
  EXPECT_STREQ(error.internal_status, "RfcCall");
  RfcClose(handle);
  EXPECT_EQ(trace_file(),
            "**** ERROR in RfcReceive\n"
            "T:0001 ======> connection aborted\n"
            "ERROR       work process restarted\n\n"
            "**** ERROR in RfcCall\n"
            "T:0002 ======> connection broken\n"
            "ERROR       connection to " + address() + " broken\n\n");
}

TEST_F(Call, AbortWithoutTextNamesThePartner) {
  const rfc_handle handle = open_system("call = abort\n");
  EXPECT_EQ(query_roll_page_sizes(handle).code, RFC_RESULT_FAILURE);
  RfcClose(handle);
  EXPECT_EQ(trace_file(),
            "**** ERROR in RfcReceive\n"
            "T:0001 ======> connection aborted\n"
            "ERROR       connection to " + address() + " aborted by partner\n\n");
}

TEST_F(Call, AbortWithoutAnInstalledHandlerReturns1) {
  const rfc_handle handle = open_system("call = abort\n");
  EXPECT_EQ(query_roll_page_sizes(handle).code, RFC_RESULT_FAILURE);
  RfcClose(handle);
  EXPECT_TRUE(handler_calls().empty());
}

TEST_F(Call, PartnerGoneBeforeTheCallIsReportedByRfcCall) {
  install_recording_handler();
  const rfc_handle handle = open_system("");
  // rfcsim ends, closing its connections in the order they were accepted; once
  // the witness, accepted last, sees the end, the library's connection has too.
  const int witness = connect_witness(host(), 3300);
  ASSERT_GE(witness, 0);
  stop_sim();
  EXPECT_TRUE(wait_for_end(witness));
  EXPECT_EQ(query_roll_page_sizes(handle).code, RFC_RESULT_FAILURE);
  RfcClose(handle);
  EXPECT_EQ(handler_calls(), std::vector<std::string>{"RfcCall"});
  EXPECT_NE(trace_file().find("ERROR       connection to " + address() + " closed by partner\n"), std::string::npos);
}

TEST_F(Call, HandleThatIsNotOpenIsSignalledThroughTheHandler) {
  install_recording_handler();
  EXPECT_EQ(query_roll_page_sizes(7).code, RFC_RESULT_FAILURE);
  EXPECT_EQ(handler_calls(), std::vector<std::string>{"RfcCall"});
  rfc_error_info error{};
  RfcLastError(&error);
  EXPECT_STREQ(error.key, "RFC_ERROR_PROGRAM");
  EXPECT_STREQ(error.message, "connection handle 7 is not open");
}

TEST_F(Call, ReceiveWithoutACallIsSignalledThroughTheHandler) {
  install_recording_handler();
  const rfc_handle handle = open_system("");
  rfc_parameter none[1] = {{nullptr, 0, 0, 0, nullptr}};
  char* exception = nullptr;
  EXPECT_EQ(RfcReceive(handle, none, nullptr, &exception), RFC_RESULT_FAILURE);
  RfcClose(handle);
  EXPECT_EQ(handler_calls(), std::vector<std::string>{"RfcReceive"});
}

TEST_F(Call, DelayedReplyStillArrives) {
  const rfc_handle handle = open_system("delay_ms = 300\nPAGE_WP_LOCAL = 12\n");
  const QueryResult result = query_roll_page_sizes(handle);
  RfcClose(handle);
  EXPECT_EQ(result.code, RFC_RESULT_OK);
  EXPECT_EQ(result.values[4], 12);
}

TEST_F(Call, OneConnectionCarriesSeveralCallsOfAnyName) {
  const rfc_handle handle = open_system("PAGE_MAX_USED = 3\n");
  rfc_parameter none[1] = {{nullptr, 0, 0, 0, nullptr}};
  ASSERT_EQ(RfcCall(handle, "Z_ANY FUNCTION", none, nullptr), RFC_RESULT_OK);
  char* exception = nullptr;
  EXPECT_EQ(RfcReceive(handle, none, nullptr, &exception), RFC_RESULT_OK);
  EXPECT_EQ(query_roll_page_sizes(handle).values[3], 3);
  RfcClose(handle);
  EXPECT_EQ(stop_sim(), (std::vector<std::string>{"logon " + address() + " client=100 user=MONITOR lang=E",
                                                  "call " + address() + " Z_ANY FUNCTION",
                                                  "call " + address() + " SAPTUNE_ROLL_PAGE_SIZES"}));
}

}  // namespace
