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

TEST(ResultMapping, EachNetWeaverCodeGivesItsOutcomeResultCodeAndKey) {
  const struct {
    RFC_RC code;
    CallOutcome outcome;
    rfc_result_code classic;
    const char* key;
  } codes[] = {
      {RFC_OK, CallOutcome::Values, 0, "RFC_ERROR_FAILURE"},
      {RFC_COMMUNICATION_FAILURE, CallOutcome::BrokenConnection, 1, "RFC_ERROR_COMMUNICATION"},
      {RFC_LOGON_FAILURE, CallOutcome::Failure, 1, "RFC_ERROR_LOGON_FAILURE"},
      {RFC_ABAP_RUNTIME_FAILURE, CallOutcome::SystemException, 3, "RFC_ERROR_SYSTEM_FAILURE"},
      {RFC_ABAP_MESSAGE, CallOutcome::SystemException, 3, "RFC_ERROR_SYSTEM_FAILURE"},
      {RFC_ABAP_EXCEPTION, CallOutcome::Exception, 2, "RFC_ERROR_FAILURE"},
      {RFC_CLOSED, CallOutcome::BrokenConnection, 1, "RFC_ERROR_COMMUNICATION"},
      {RFC_CANCELED, CallOutcome::Failure, 1, "RFC_ERROR_FAILURE"},
      {RFC_TIMEOUT, CallOutcome::Failure, 1, "RFC_ERROR_COMMUNICATION"},
      {RFC_MEMORY_INSUFFICIENT, CallOutcome::Failure, 1, "RFC_ERROR_RESOURCE"},
      {RFC_INVALID_PROTOCOL, CallOutcome::Failure, 1, "RFC_ERROR_COMMUNICATION"},
      {RFC_INVALID_HANDLE, CallOutcome::Failure, 1, "RFC_ERROR_PROGRAM"},
      {RFC_EXTERNAL_FAILURE, CallOutcome::Failure, 1, "RFC_ERROR_FAILURE"},
      {RFC_NOT_FOUND, CallOutcome::Failure, 1, "RFC_ERROR_FAILURE"},
      {RFC_INVALID_PARAMETER, CallOutcome::Failure, 1, "RFC_ERROR_PROGRAM"},
      {21, CallOutcome::Failure, 1, "RFC_ERROR_FAILURE"},  // a code of a newer library
      {RFC_ABAP_CLASS_EXCEPTION, CallOutcome::Exception, 2, "RFC_ERROR_FAILURE"},
      {28, CallOutcome::Failure, 1, "RFC_ERROR_FAILURE"},
      {-1, CallOutcome::Failure, 1, "RFC_ERROR_FAILURE"},
  };
  for (const auto& given : codes) {
    EXPECT_EQ(call_outcome(given.code), given.outcome) << given.code;
    EXPECT_EQ(classic_result_code(call_outcome(given.code)), given.classic) << given.code;
    EXPECT_STREQ(classic_error_key(given.code), given.key) << given.code;
  }
  EXPECT_STREQ(result_code_name(RFC_OK), "RFC_OK");
  EXPECT_STREQ(result_code_name(RFC_TIMEOUT), "RFC_TIMEOUT");
  EXPECT_STREQ(result_code_name(RFC_INVALID_PARAMETER), "RFC_INVALID_PARAMETER");
  EXPECT_STREQ(result_code_name(21), "RFC_UNKNOWN_RESULT");
  EXPECT_STREQ(result_code_name(-1), "RFC_UNKNOWN_RESULT");
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
