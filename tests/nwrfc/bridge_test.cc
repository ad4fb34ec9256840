// The bridge with the stand-in NetWeaver library and rfcsim: what reaches the
// NetWeaver library, and what the sensor's side gets back.
#include <gtest/gtest.h>

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "rfc_test_fixture.h"
#include "sensor_like_client.h"

namespace {

class Bridge : public RfcTest {
 protected:
  void SetUp() override {
    RfcTest::SetUp();
    record_path_ = (std::filesystem::current_path() / "nwrfc-record.txt").string();
    setenv("QUENMAREL_NWRFC_RECORD", record_path_.c_str(), 1);
  }
  void TearDown() override {
    unsetenv("QUENMAREL_NWRFC_RECORD");
    unsetenv("RFC_INI");
    RfcTest::TearDown();
  }

  /// What the stand-in NetWeaver library was given, one line per open.
  std::string record() const {
    std::ifstream file(record_path_, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  }

  /// RfcOpenEx for `destination` with the sensor's connect string.
  static rfc_handle open_destination(const std::string& destination) {
    const std::string connect_string = "CLIENT=100 USER=MONITOR PASSWD=Geheim42 LANG=D DEST=" + destination;
    rfc_open_error_details details{};
    return RfcOpenEx(connect_string.c_str(), &details);
  }

 private:
  std::string record_path_;
};

TEST_F(Bridge, LoadBalancingAndSecureNetworkEntriesReachTheLibraryAsTheirParameters) {
  start_sim("[system]\nlisten = {host}:3612\nuser = MONITOR\npassword = Geheim42\n");
  write_file("SapRfc.ini", with_host("DEST=PRD\nTYPE=B\nMSHOST={host}\nMSSERV=3612\nR3NAME=PRD\nGROUP=SPACE\n"
                                     "SNC_MODE=1\nSNC_PARTNERNAME=p:CN=PRD, O=Example\nSNC_QOP=9\n"
                                     "SNC_MYNAME=p:CN=monitor\nSNC_LIB=/usr/sap/lib/libsapcrypto.so\n"));
  const rfc_handle handle = open_destination("PRD");
  EXPECT_NE(handle, RFC_NULL_HANDLE) << trace_file();
  EXPECT_EQ(query_roll_page_sizes(handle).code, RFC_RESULT_OK);
  RfcClose(handle);
  EXPECT_EQ(record(), with_host("RfcOpenConnection mshost={host} msserv=3612 sysid=PRD group=SPACE snc_mode=1 "
                                "snc_partnername=p:CN=PRD, O=Example snc_qop=9 snc_myname=p:CN=monitor "
                                "snc_lib=/usr/sap/lib/libsapcrypto.so client=100 user=MONITOR passwd=<hidden> "
                                "lang=D\n"));
  EXPECT_EQ(stop_sim(), (std::vector<std::string>{"logon " + address(3612) + " client=100 user=MONITOR lang=D",
                                                  "call " + address(3612) + " SAPTUNE_ROLL_PAGE_SIZES"}));
}

TEST_F(Bridge, LogonRecordArrivesUnpaddedAndARouteIsSplitOrRefusedWithoutItsPassword) {
  start_sim("[system]\nlisten = {host}:3300\n");
  std::filesystem::create_directory("ini");
  write_file("ini/logon.ini", with_host("DEST=PRD\nTYPE=A\nASHOST=/H/gate/S/3299/W/hop-secret/H/{host}\nSYSNR=00\n"
                                        "DEST=QAS\nTYPE=A\nASHOST=/H/gate/W/hop-secret/H/{host}/S/3300\nSYSNR=00\n"));
  setenv("RFC_INI", "ini/logon.ini", 1);
  const rfc_handle handle = open_application_server(host(), 0);
  EXPECT_NE(handle, RFC_NULL_HANDLE);
  RfcClose(handle);
  // rfcsim is no SAProuter: the stand-in goes straight to the host after the route.
  const rfc_handle routed = open_destination("PRD");
  EXPECT_NE(routed, RFC_NULL_HANDLE);
  RfcClose(routed);
  EXPECT_EQ(open_destination("QAS"), RFC_NULL_HANDLE);
  EXPECT_EQ(record(), with_host("RfcOpenConnection ashost={host} sysnr=00 client=100 user=MONITOR passwd=<hidden> "
                                "lang=E\n"
                                "RfcOpenConnection saprouter=/H/gate/S/3299/W/hop-secret/H/ ashost={host} sysnr=00 "
                                "client=100 user=MONITOR passwd=<hidden> lang=D\n"));
  EXPECT_EQ(trace_file(),
            "**** ERROR in RfcOpenEx\nT:0001 ======> invalid destination\n"
            "ERROR       destination QAS in ini/logon.ini: the SAProuter route does not end in the "
            "application server's host\n\n");
}

TEST_F(Bridge, LogonValuesAreUtf8WhenValidAndLatin1Otherwise) {
  start_sim("[system]\nlisten = {host}:3300\n");
  LogonValues latin1, utf8;
  latin1.user = "M\xDCLLER";
  utf8.user = "M\xC3\x9CLLER";
  for (const LogonValues& logon : {latin1, utf8}) RfcClose(open_application_server(host(), 0, logon));
  const std::string expected = "logon " + address() + " client=100 user=M\xC3\x9CLLER lang=E";
  EXPECT_EQ(stop_sim(), (std::vector<std::string>{expected, expected}));
}

TEST_F(Bridge, R2ModeFailsWithoutConnectingAndSaysWhy) {
  EXPECT_EQ(open_gateway(host(), "sapgw00"), RFC_NULL_HANDLE);
  EXPECT_EQ(record(), "");
  EXPECT_EQ(trace_file(),
            "**** ERROR in RfcOpen\nT:0001 ======> R/2 not supported\n"
            "ERROR       the NetWeaver RFC library has no R/2 connections\n\n");
  rfc_error_info error{};
  EXPECT_EQ(RfcLastError(&error), 0);
  EXPECT_STREQ(error.key, "RFC_ERROR_PROGRAM");
  EXPECT_STREQ(error.internal_status, "RfcOpen");
}

TEST_F(Bridge, ResultsOfTheCallGiveTheClassicCodesAndTexts) {
  start_sim(
      "[system]\nlisten = {host}:3301\ncall = exception\ntext = NOT_AUTHORIZED\n"
      "[system]\nlisten = {host}:3302\ncall = system_exception\ntext = SYSTEM_FAILURE\n"
      "[system]\nlisten = {host}:3303\ncall = failure\n"
      "[system]\nlisten = {host}:3304\nPAGE_AREA_SIZE = 7\nROLL_MAX_USED = -2\n");
  const struct {
    int system_number;
    int code;
    const char* exception;  // null: none given
  } calls[] = {{1, 2, "NOT_AUTHORIZED"}, {2, 3, "SYSTEM_FAILURE"}, {3, 1, nullptr}, {4, 0, nullptr}};
  for (const auto& call : calls) {
    const rfc_handle handle = open_application_server(host(), call.system_number);
    const QueryResult result = query_roll_page_sizes(handle);
    RfcClose(handle);
    EXPECT_EQ(result.code, call.code) << call.system_number;
    EXPECT_EQ(result.exception_given, call.exception != nullptr) << call.system_number;
    EXPECT_EQ(result.exception, call.exception != nullptr ? call.exception : "");
    if (call.code == 0) {
      EXPECT_EQ(result.values[1], 7);
      EXPECT_EQ(result.values[10], -2);
      EXPECT_EQ(result.values[0], 0) << "a value the system reports as 0 is stored";
    }
  }
  EXPECT_EQ(trace_file(),
            "**** ERROR in RfcReceive\nT:0001 ======> system exception\nERROR       SYSTEM_FAILURE\n\n"
            "**** ERROR in RfcReceive\nT:0002 ======> RFC failure\n"
            "ERROR       RFC failure in SAPTUNE_ROLL_PAGE_SIZES\n\n");
  EXPECT_TRUE(handler_calls().empty());
}

TEST_F(Bridge, ValueMissingFromTheReplyIsAFailureNeverAZero) {
  start_sim("[system]\nlisten = {host}:3300\nPAGE_AREA_SIZE = 7\n");
  const rfc_handle handle = open_application_server(host(), 0);
  rfc_parameter none[] = {{nullptr, 0, 0, 0, nullptr}};
  rfc_table_entry no_tables[] = {{nullptr, 0, 0, 0, nullptr, 0, 0}};
  ASSERT_EQ(RfcCall(handle, "SAPTUNE_ROLL_PAGE_SIZES", none, no_tables), RFC_RESULT_OK);
  std::int32_t size = -1, missing = -1;
  rfc_parameter receiving[] = {{"PAGE_AREA_SIZE", 14, RFC_TYPE_INT, 4, &size},
                               {"PAGE_AREA_SIZES", 15, RFC_TYPE_INT, 4, &missing},
                               {nullptr, 0, 0, 0, nullptr}};
  char* exception = nullptr;
  EXPECT_EQ(RfcReceive(handle, receiving, no_tables, &exception), RFC_RESULT_FAILURE);
  RfcClose(handle);
  EXPECT_EQ(size, 7);
  EXPECT_EQ(missing, -1);
  EXPECT_EQ(trace_file(),
            "**** ERROR in RfcReceive\nT:0001 ======> incomplete reply\n"
            "ERROR       value PAGE_AREA_SIZES missing from the reply\n\n");
  rfc_error_info error{};
  RfcLastError(&error);
  EXPECT_STREQ(error.key, "RFC_ERROR_PROGRAM") << "the caller asked for a value the function has not";
}

TEST_F(Bridge, RejectedLogonGivesTheNullHandleAndTheLogonFailuresKey) {
  start_sim("[system]\nlisten = {host}:3300\nlogon = reject\n");
  EXPECT_EQ(open_application_server(host(), 0), RFC_NULL_HANDLE);
  rfc_error_info error{};
  EXPECT_EQ(RfcLastError(&error), 0);
  EXPECT_STREQ(error.key, "RFC_ERROR_LOGON_FAILURE");
  EXPECT_STREQ(error.internal_status, "RfcOpen");
}

TEST_F(Bridge, BrokenConnectionReachesTheErrorHandlerWithTheRecordFilled) {
  start_sim("[system]\nlisten = {host}:3300\ncall = abort\n");
  install_recording_handler();
  const rfc_handle handle = open_application_server(host(), 0);
  EXPECT_EQ(query_roll_page_sizes(handle).code, RFC_RESULT_FAILURE);
  EXPECT_EQ(handler_calls(), std::vector<std::string>{"RfcReceive"});
  rfc_error_info error{};
  RfcLastError(&error);
  EXPECT_STREQ(error.key, "RFC_ERROR_COMMUNICATION");
  EXPECT_STREQ(error.status, "connection aborted");
  EXPECT_EQ(std::string(error.message), "connection to " + address() + " aborted by partner");
  EXPECT_STREQ(error.internal_status, "RfcReceive");
  // The next call on the broken connection is refused before it is made.
  EXPECT_EQ(query_roll_page_sizes(handle).code, RFC_RESULT_FAILURE);
  EXPECT_EQ(handler_calls(), (std::vector<std::string>{"RfcReceive", "RfcCall"}));
  RfcLastError(&error);
  EXPECT_STREQ(error.status, "connection broken");
  RfcClose(handle);
}

TEST_F(Bridge, CallsOutOfOrderOrOnUnknownHandlesReachTheErrorHandler) {
  start_sim("[system]\nlisten = {host}:3300\n");
  install_recording_handler();
  const rfc_handle handle = open_application_server(host(), 0);
  rfc_parameter none[] = {{nullptr, 0, 0, 0, nullptr}};
  rfc_table_entry no_tables[] = {{nullptr, 0, 0, 0, nullptr, 0, 0}};
  char* exception = nullptr;
  EXPECT_EQ(RfcReceive(handle, none, no_tables, &exception), RFC_RESULT_FAILURE);
  EXPECT_EQ(RfcCall(handle, "SAPTUNE_ROLL_PAGE_SIZES", none, no_tables), RFC_RESULT_OK);
  EXPECT_EQ(RfcCall(handle, "SAPTUNE_ROLL_PAGE_SIZES", none, no_tables), RFC_RESULT_FAILURE);
  EXPECT_EQ(RfcCall(handle + 1, "SAPTUNE_ROLL_PAGE_SIZES", none, no_tables), RFC_RESULT_FAILURE);
  RfcClose(handle);
  EXPECT_EQ(handler_calls(), (std::vector<std::string>{"RfcReceive", "RfcCall", "RfcCall"}));
  EXPECT_EQ(trace_file(),
            "**** ERROR in RfcReceive\nT:0001 ======> invalid call\nERROR       no call waiting for its reply\n\n"
            "**** ERROR in RfcCall\nT:0002 ======> invalid call\n"
            "ERROR       the reply to SAPTUNE_ROLL_PAGE_SIZES has not been received\n\n"
            "**** ERROR in RfcCall\nT:0003 ======> invalid handle\n"
            "ERROR       connection handle " +
                std::to_string(handle + 1) + " is not open\n\n");
}

}  // namespace
