// RfcOpenEx: the connect string and the destination's entry in SapRfc.ini.
#include <gtest/gtest.h>

#include "rfc_test_fixture.h"

namespace {

class OpenEx : public RfcTest {
 protected:
  /// Writes SapRfc.ini ({host} replaced) and opens with the sensor's connect string.
  rfc_handle open_destination(const std::string& logon_file, const std::string& destination,
                              const std::string& password = "Geheim42") {
    std::string content = logon_file;
    for (std::size_t at = content.find("{host}"); at != std::string::npos; at = content.find("{host}"))
      content.replace(at, 6, host());
    write_file("SapRfc.ini", content);
    const std::string connect_string =
        "CLIENT=100 USER=MONITOR PASSWD=" + password + " LANG=D DEST=" + destination;
    rfc_open_error_details details{};
    return RfcOpenEx(connect_string.c_str(), &details);
  }
};

const char* const two_destinations =
    "DEST=PRD\n"
    "TYPE=A\n"
    "ASHOST={host}\n"
    "SYSNR=05\n"
    "\n"
    "DEST=R2S\n"
    "TYPE=A\n"
    "GWHOST={host}\n"
    "GWSERV=sapgw06\n";

TEST_F(OpenEx, ApplicationServerEntryConnectsToAshostAtTheSystemNumbersPort) {
  start_sim("[system]\nlisten = {host}:3305\nclient = 100\nuser = MONITOR\npassword = Geheim42\n");
  const rfc_handle handle = open_destination(two_destinations, "PRD");
  EXPECT_NE(handle, RFC_NULL_HANDLE);
  RfcClose(handle);
  EXPECT_EQ(stop_sim(), std::vector<std::string>{"logon " + address(3305) + " client=100 user=MONITOR lang=D"});
}

TEST_F(OpenEx, GatewayEntryConnectsToGwhostAtTheGatewayService) {
  start_sim("[system]\nlisten = {host}:3306\n");
  const rfc_handle handle = open_destination(two_destinations, "R2S");
  EXPECT_NE(handle, RFC_NULL_HANDLE);
  RfcClose(handle);
  EXPECT_EQ(stop_sim(), std::vector<std::string>{"logon " + address(3306) + " client=100 user=MONITOR lang=D"});
}

TEST_F(OpenEx, CrlfFileWithCommentsAndBlankLinesIsRead) {
  start_sim("[system]\nlisten = {host}:3301\n");
  const rfc_handle handle = open_destination(
      "* logon file of the test\r\n"
      "# DEST=PRD is no entry while commented out\r\n"
      "\r\n"
      "DEST=PR\r\nTYPE=A\r\nASHOST=127.0.0.254\r\nSYSNR=09\r\n"
      "\r\n"
      "DEST=PRD\r\nTYPE=A\r\nASHOST={host}  \r\nRFC_TRACE=0\r\nSYSNR=01\r\n"
      "DEST=PRD2\r\nASHOST=127.0.0.254\r\nSYSNR=02\r\n",
      "PRD");
  EXPECT_NE(handle, RFC_NULL_HANDLE);
  RfcClose(handle);
  EXPECT_EQ(stop_sim().size(), 1u);
}

TEST_F(OpenEx, PasswordWithBlanksAndKeywordsReachesTheSystemWhole) {
  start_sim("[system]\nlisten = {host}:3305\npassword = a USER=b LANG=c\n");
  const rfc_handle handle = open_destination(two_destinations, "PRD", "a USER=b LANG=c");
  EXPECT_NE(handle, RFC_NULL_HANDLE);
  RfcClose(handle);
}

TEST_F(OpenEx, UnknownDestinationGivesTheNullHandle) {
  EXPECT_EQ(open_destination(two_destinations, "PR"), RFC_NULL_HANDLE);
  EXPECT_EQ(trace_file(),
            "**** ERROR in RfcOpenEx\n"
            "T:0001 ======> unknown destination\n"
            "ERROR       destination PR not found in SapRfc.ini\n\n");
}

TEST_F(OpenEx, MissingLogonFileGivesTheNullHandleAndFillsTheDetails) {
  rfc_open_error_details details{};
  EXPECT_EQ(RfcOpenEx("CLIENT=100 USER=MONITOR PASSWD=x LANG=D DEST=PRD", &details), RFC_NULL_HANDLE);
  EXPECT_STREQ(details.key, "RFC_ERROR_DESTINATION");
  EXPECT_STREQ(details.message, "SapRfc.ini not found in the working directory");
}

TEST_F(OpenEx, EntryWithoutAUsableHostGivesTheNullHandle) {
  EXPECT_EQ(open_destination("DEST=PRD\nTYPE=A\nSYSNR=00\n", "PRD"), RFC_NULL_HANDLE);
  EXPECT_EQ(open_destination("DEST=PRD\nTYPE=A\nASHOST={host}\nSYSNR=x1\n", "PRD"), RFC_NULL_HANDLE);
  EXPECT_EQ(open_destination("DEST=PRD\nGWHOST={host}\n", "PRD"), RFC_NULL_HANDLE);
  EXPECT_EQ(trace_file(),
            "**** ERROR in RfcOpenEx\nT:0001 ======> invalid destination\n"
            "ERROR       destination PRD in SapRfc.ini: neither ASHOST nor GWHOST given\n\n"
            "**** ERROR in RfcOpenEx\nT:0002 ======> invalid destination\n"
            "ERROR       destination PRD in SapRfc.ini: invalid system number x1\n\n"
            "**** ERROR in RfcOpenEx\nT:0003 ======> invalid destination\n"
            "ERROR       destination PRD in SapRfc.ini: no gateway service given\n\n");
}

TEST_F(OpenEx, MalformedConnectStringIsRefusedWithoutRepeatingIt) {
  rfc_open_error_details details{};
  EXPECT_EQ(RfcOpenEx("USER=MONITOR PASSWD=Geheim42 DEST=PRD", &details), RFC_NULL_HANDLE);
  EXPECT_EQ(RfcOpenEx(nullptr, nullptr), RFC_NULL_HANDLE);
  EXPECT_EQ(trace_file().find("Geheim42"), std::string::npos);
  EXPECT_STREQ(details.key, "RFC_ERROR_PROGRAM");
}

}  // namespace
