#include "rfc/rfc_error_report.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "fake_rfc_library.h"
#include "output/run_endings.h"
#include "rfc/rfc_connection.h"

namespace {

// Installs the handler the way a run does, with its report (in the form of
// PRTG's targets unless another is given) and the library's calls going to
// standard error, where a death test sees them.
rfc_error_handler installed_handler(const RfcErrorReportForm& form = monitor_run_endings.rfc_error_report) {
  FakeRfcLibrary& fake = fake_rfc_library();
  fake.event_log = stderr;
  static RfcRecords records;
  install_rfc_environment(records, stderr, form);
  return fake.error_handler;
}

// The library's last error after a connection the partner closed.
void set_closed_connection_error(const char* message) {
  reset_fake_rfc_library();
  FakeRfcLibrary& fake = fake_rfc_library();
  std::strcpy(fake.last_error.key, "RFC_ERROR_COMMUNICATION");
  std::strcpy(fake.last_error.status, "CONNECTION CLOSED");
  std::strcpy(fake.last_error.message, message);
}

}  // namespace

TEST(RfcErrorReport, HandlerPrintsTheLastErrorClosesAndEndsWithCodeOne) {
  set_closed_connection_error("partner closed the connection");
  char operation[] = "RfcReceive";
  const std::string report =
      "[RfcLastError]\n"
      "RFC error\n"
      "operation/code  : RfcReceive\n"
      "key             : RFC_ERROR_COMMUNICATION\n"
      "status          : CONNECTION CLOSED\n"
      "message         : partner closed the connection\n"
      "internal status : \n"
      "\n"
      "[RfcClose 0]\n"
      "* Programm aborted...\n"
      "* Error at EoXput-File...\n";
  EXPECT_EXIT(installed_handler()(operation), ::testing::ExitedWithCode(1),
              ::testing::Matcher<const std::string&>(report));
}

TEST(RfcErrorReport, FieldsFilledToTheirLastByteAreReadOnlyWithinThem) {
  reset_fake_rfc_library();
  FakeRfcLibrary& fake = fake_rfc_library();
  std::memset(fake.last_error.key, 'K', sizeof fake.last_error.key);
  std::memset(fake.last_error.status, 'S', sizeof fake.last_error.status);
  char operation[] = "RfcCall";
  const std::string report =
      "[RfcLastError]\nRFC error\noperation/code  : RfcCall\nkey             : " + std::string(33, 'K') +
      "\nstatus          : " + std::string(128, 'S') +
      "\nmessage         : \ninternal status : \n\n[RfcClose 0]\n"
      "* Programm aborted...\n* Error at EoXput-File...\n";
  EXPECT_EXIT(installed_handler()(operation), ::testing::ExitedWithCode(1),
              ::testing::Matcher<const std::string&>(report));
}

// A server's abort text of many lines must not print lines of its own (a
// whole document, say): every text of the library stays on its field's line.
TEST(RfcErrorReport, LibraryTextsStayOnTheirLines) {
  reset_fake_rfc_library();
  FakeRfcLibrary& fake = fake_rfc_library();
  std::strcpy(fake.last_error.key, "KEY\r\n");
  std::strcpy(fake.last_error.status, "a\tb\x1B[2J");
  std::strcpy(fake.last_error.message, "reset\n<Prtg>\n<Text>fake</Text>\n</Prtg>\n");
  std::strcpy(fake.last_error.internal_status, "Fehler \xE4\x85");
  char operation[] = "Rfc\nReceive";
  const std::string report =
      "[RfcLastError]\n"
      "RFC error\n"
      "operation/code  : Rfc Receive\n"
      "key             : KEY  \n"
      "status          : a b [2J\n"
      "message         : reset <Prtg> <Text>fake</Text> </Prtg> \n"
      "internal status : Fehler \xE4 \n"
      "\n"
      "[RfcClose 0]\n"
      "* Programm aborted...\n"
      "* Error at EoXput-File...\n";
  EXPECT_EXIT(installed_handler()(operation), ::testing::ExitedWithCode(1),
              ::testing::Matcher<const std::string&>(report));
}

TEST(RfcErrorReport, OperationIsCutAfter127Characters) {
  for (std::size_t length : {127, 128}) {
    reset_fake_rfc_library();
    std::string operation(length, 'o');
    const std::string report = "[RfcLastError]\nRFC error\noperation/code  : " + std::string(127, 'o') +
                               "\nkey             : \nstatus          : \n"
                               "message         : \ninternal status : \n\n[RfcClose 0]\n"
                               "* Programm aborted...\n* Error at EoXput-File...\n";
    EXPECT_EXIT(installed_handler()(operation.data()), ::testing::ExitedWithCode(1),
                ::testing::Matcher<const std::string&>(report))
        << length;
  }
}

// The check plugins' form: one UNKNOWN line with the operation, the key and
// the message, no "|" that would start performance data, and exit code 3.
TEST(RfcErrorReport, PluginFormIsOneUnknownLineEndingWithCodeThree) {
  set_closed_connection_error("partner | closed\nthe connection");
  char operation[] = "RfcReceive";
  const std::string report =
      "[RfcLastError]\n"
      "SAP PAGEROLL UNKNOWN - RFC error in RfcReceive (RFC_ERROR_COMMUNICATION): partner   closed the connection\n"
      "[RfcClose 0]\n";
  EXPECT_EXIT(installed_handler(plugin_run_endings.rfc_error_report)(operation), ::testing::ExitedWithCode(3),
              ::testing::Matcher<const std::string&>(report));
}
