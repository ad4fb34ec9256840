// The NetWeaver library's results as the sensor sees them: result codes, the
// error handler, and the error record and trace block of each failure.
#include "result_mapping.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "error_report.h"
#include "nwrfc_error.h"
#include "rfc_test_fixture.h"

namespace {

// What the stand-in NetWeaver library gives (values, exceptions, system
// exceptions, failures, aborted, closed and refused connections, rejected
// logons) is pinned through the bridge's behaviour: by the end-to-end cases
// under the nwrfc configuration and by bridge_test.cc.  These codes only the
// vendor's library gives, so no case can bring them about.
TEST(ResultMapping, CodesOnlyTheVendorsLibraryGivesMapAsTheirNearestKin) {
  // An ABAP message ends the call as a runtime failure does; a class-based
  // exception is an exception like a classic one.
  EXPECT_EQ(call_outcome(RFC_ABAP_MESSAGE), CallOutcome::SystemException);
  EXPECT_STREQ(classic_error_key(RFC_ABAP_MESSAGE), "RFC_ERROR_SYSTEM_FAILURE");
  EXPECT_EQ(call_outcome(RFC_ABAP_CLASS_EXCEPTION), CallOutcome::Exception);
  // A timeout or a protocol error is the network's failure, but the
  // connection is not known to be broken: the call fails and the run goes on.
  for (RFC_RC code : {RFC_TIMEOUT, RFC_INVALID_PROTOCOL}) {
    EXPECT_EQ(call_outcome(code), CallOutcome::Failure) << code;
    EXPECT_STREQ(classic_error_key(code), "RFC_ERROR_COMMUNICATION") << code;
  }
  EXPECT_STREQ(classic_error_key(RFC_MEMORY_INSUFFICIENT), "RFC_ERROR_RESOURCE");
  // A code of a newer library, or none at all, is a failure named as unknown.
  for (RFC_RC code : {21, 28, -1}) {
    EXPECT_EQ(call_outcome(code), CallOutcome::Failure) << code;
    EXPECT_STREQ(result_code_name(code), "RFC_UNKNOWN_RESULT") << code;
  }
  EXPECT_STREQ(result_code_name(RFC_INVALID_PARAMETER), "RFC_INVALID_PARAMETER");
}

RFC_ERROR_INFO error_of(RFC_RC code, const std::u16string& key, const std::u16string& message) {
  RFC_ERROR_INFO error{};
  error.code = code;
  key.copy(error.key, sizeof error.key / sizeof error.key[0] - 1);
  message.copy(error.message, sizeof error.message / sizeof error.message[0] - 1);
  return error;
}

class NwrfcError : public RfcTest {};

TEST_F(NwrfcError, BlockAndRecordCarryKeyAsStatusAndMessageAsDetailOnOneLineInUtf8) {
  report_nwrfc_error(
      "RfcOpen", error_of(RFC_COMMUNICATION_FAILURE, u"connection refused", u"connection to 127.0.0.1:3300 refused"));
  report_nwrfc_error("RfcReceive", error_of(RFC_ABAP_MESSAGE, u"Kein Zugriff",
                                            u"\nLOCATION f\u00FCr M\u00FCller\r\nERROR  \U0001F600"));
  report_nwrfc_error("RfcCall", error_of(RFC_TIMEOUT, u"", u""));
  EXPECT_EQ(trace_file(),
            "**** ERROR in RfcOpen\nT:0001 ======> connection refused\n"
            "ERROR       connection to 127.0.0.1:3300 refused\n\n"
            "**** ERROR in RfcReceive\nT:0002 ======> Kein Zugriff\n"
            "ERROR        LOCATION f\xC3\xBCr M\xC3\xBCller  ERROR  \xF0\x9F\x98\x80\n\n"
            "**** ERROR in RfcCall\nT:0003 ======> RFC_TIMEOUT\nERROR       RFC_TIMEOUT\n\n");
  rfc_error_info record{};
  copy_last_error(&record);
  EXPECT_STREQ(record.key, "RFC_ERROR_COMMUNICATION");
  EXPECT_STREQ(record.status, "RFC_TIMEOUT");
  EXPECT_STREQ(record.message, "RFC_TIMEOUT");
  EXPECT_STREQ(record.internal_status, "RfcCall");
}

TEST_F(NwrfcError, RecordFieldTooShortForTheMessageEndsBeforeACharacter) {
  // 300 two-byte characters: the 255 bytes of the field hold 127 of them.
  report_nwrfc_error("RfcReceive",
                     error_of(RFC_ABAP_RUNTIME_FAILURE, u"system exception", std::u16string(300, u'\u00E9')));
  rfc_error_info record{};
  copy_last_error(&record);
  std::string kept, whole;
  for (int i = 0; i < 300; ++i) (i < 127 ? kept : whole) += "\xC3\xA9";
  whole = kept + whole;
  EXPECT_EQ(std::string(record.message), kept);
  EXPECT_EQ(trace_file(), "**** ERROR in RfcReceive\nT:0001 ======> system exception\nERROR       " + whole + "\n\n");
}

}  // namespace
