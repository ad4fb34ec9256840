// RfcOpenEx: the destination's entry in SapRfc.ini, and each way it can be unusable.
#include <gtest/gtest.h>

#include "rfc_test_fixture.h"

namespace {

class OpenEx : public RfcTest {
 protected:
  /// Writes SapRfc.ini ({host} replaced) and opens `destination` with the sensor's connect string.
  rfc_handle open_destination(const std::string& logon_file, const std::string& destination) {
    write_file("SapRfc.ini", with_host(logon_file));
    const std::string connect_string = "CLIENT=100 USER=MONITOR PASSWD=Geheim42 LANG=D DEST=" + destination;
    rfc_open_error_details details{};
    return RfcOpenEx(connect_string.c_str(), &details);
  }
};

TEST_F(OpenEx, EntryIsFoundByItsWholeNameAmongCommentsAndCrlfLinesAndMayNameAGateway) {
  start_sim("[system]\nlisten = {host}:3301\n[system]\nlisten = {host}:3306\n");
  const std::string logon_file =
      "* logon file of the test\r\n"
      "# DEST=PRD is no entry while commented out\r\n"
      "\r\n"
      "DEST=PR\r\nTYPE=A\r\nASHOST=127.0.0.254\r\nSYSNR=09\r\n"
      "\r\n"
      "DEST=PRD\r\nTYPE=A\r\nASHOST={host}  \r\nRFC_TRACE=0\r\nSYSNR=01\r\n"
      "DEST=PRD2\r\nASHOST=127.0.0.254\r\nSYSNR=02\r\n"
      "DEST=R2S\r\nTYPE=A\r\nGWHOST={host}\r\nGWSERV=sapgw06\r\n";
  for (const char* destination : {"PRD", "R2S"}) {
    const rfc_handle handle = open_destination(logon_file, destination);
    EXPECT_NE(handle, RFC_NULL_HANDLE) << destination;
    RfcClose(handle);
  }
  EXPECT_EQ(stop_sim(), (std::vector<std::string>{"logon " + address(3301) + " client=100 user=MONITOR lang=D",
                                                  "logon " + address(3306) + " client=100 user=MONITOR lang=D"}));
}

TEST_F(OpenEx, UnknownOrUnusableEntryGivesTheNullHandleAndSaysWhy) {
  EXPECT_EQ(open_destination("DEST=PRD\nTYPE=A\nASHOST={host}\nSYSNR=00\n", "PR"), RFC_NULL_HANDLE);
  EXPECT_EQ(open_destination("DEST=PRD\nTYPE=A\nSYSNR=00\n", "PRD"), RFC_NULL_HANDLE);
  EXPECT_EQ(open_destination("DEST=PRD\nTYPE=A\nASHOST={host}\nSYSNR=x1\n", "PRD"), RFC_NULL_HANDLE);
  EXPECT_EQ(open_destination("DEST=PRD\nGWHOST={host}\n", "PRD"), RFC_NULL_HANDLE);
  EXPECT_EQ(trace_file(),
            "**** ERROR in RfcOpenEx\nT:0001 ======> unknown destination\n"
            "ERROR       destination PR not found in SapRfc.ini\n\n"
            "**** ERROR in RfcOpenEx\nT:0002 ======> invalid destination\n"
            "ERROR       destination PRD in SapRfc.ini: neither ASHOST nor GWHOST given\n\n"
            "**** ERROR in RfcOpenEx\nT:0003 ======> invalid destination\n"
            "ERROR       destination PRD in SapRfc.ini: invalid system number x1\n\n"
            "**** ERROR in RfcOpenEx\nT:0004 ======> invalid destination\n"
            "ERROR       destination PRD in SapRfc.ini: no gateway service given\n\n");
}

}  // namespace
