// Dev_Rfc.Trc: blocks appended, numbered by their place in the file, free of passwords.
#include <gtest/gtest.h>

#include "rfc_test_fixture.h"
#include "sensor_like_client.h"

namespace {

class TraceFile : public RfcTest {};

TEST_F(TraceFile, BlocksAreAppendedAndNumberedAfterThoseAlreadyInTheFile) {
  const std::string earlier =
      "**** ERROR in RfcOpen\nT:0001 ======> connection refused\nERROR       earlier run\n\n"
      "a line that merely mentions **** ERROR \n";
  write_file("Dev_Rfc.Trc", earlier);
  EXPECT_EQ(open_application_server(host(), 0), RFC_NULL_HANDLE);
  EXPECT_EQ(trace_file(), earlier +
                              "**** ERROR in RfcOpen\nT:0002 ======> connection refused\n"
                              "ERROR       connection to " +
                              address() + " refused\n\n");
}

TEST_F(TraceFile, PasswordNeverAppearsWhateverFails) {
  const LogonValues logon;  // password Geheim42
  start_sim(
      "[system]\nlisten = {host}:3300\npassword = other\n"
      "[system]\nlisten = {host}:3301\ncall = failure\n"
      "[system]\nlisten = {host}:3302\ncall = system_exception\n"
      "[system]\nlisten = {host}:3303\ncall = abort\n");
  EXPECT_EQ(open_application_server(host(), 0, logon), RFC_NULL_HANDLE);
  for (int system_number = 1; system_number <= 3; ++system_number) {
    const rfc_handle handle = open_application_server(host(), system_number, logon);
    EXPECT_NE(query_roll_page_sizes(handle).code, RFC_RESULT_OK);
    RfcClose(handle);
  }
  EXPECT_EQ(open_application_server(host(), 9, logon), RFC_NULL_HANDLE);
  const std::string trace = trace_file();
  EXPECT_NE(trace.find("T:0005 ======> "), std::string::npos) << trace;
  EXPECT_EQ(trace.find("Geheim42"), std::string::npos) << trace;
  for (const std::string& line : stop_sim()) EXPECT_EQ(line.find("Geheim42"), std::string::npos) << line;
}

TEST_F(TraceFile, LineBreakInThePartnersTextCannotForgeALine) {
  // A scenario line ends at its line feed, but a carriage return inside a value stays in it.
  start_sim("[system]\nlisten = {host}:3300\ncall = failure\ntext = first\rERROR       forged\n");
  const rfc_handle handle = open_application_server(host(), 0);
  EXPECT_EQ(query_roll_page_sizes(handle).code, RFC_RESULT_FAILURE);
  RfcClose(handle);
  EXPECT_EQ(trace_file(),
            "**** ERROR in RfcReceive\nT:0001 ======> RFC failure\nERROR       first ERROR       forged\n\n");
}

}  // namespace
