#include "rfc/rfc_error_report.h"

#include <gtest/gtest.h>

#include <cstring>

#include "fake_rfc_library.h"
#include "rfc/rfc_connection.h"
#include "test_support.h"

TEST(RfcErrorReport, HandlerPrintsTheLastErrorAndEndsWithCodeOne) {
  reset_fake_rfc_library();
  FakeRfcLibrary& fake = fake_rfc_library();
  std::strcpy(fake.last_error.key, "RFC_ERROR_COMMUNICATION");
  std::strcpy(fake.last_error.status, "CONNECTION CLOSED");
  std::strcpy(fake.last_error.message, "partner closed the connection");
  std::strcpy(fake.last_error.internal_status, "");
  TestRun run;
  install_rfc_environment(run.state());
  char operation[] = "RfcReceive";
  EXPECT_EQ(exit_code_of([&] { fake.error_handler(operation); }), 1);
  EXPECT_EQ(run.printed(),
            "RFC error\n"
            "operation/code  : RfcReceive\n"
            "key             : RFC_ERROR_COMMUNICATION\n"
            "status          : CONNECTION CLOSED\n"
            "message         : partner closed the connection\n"
            "internal status : \n"
            "\n"
            "* Programm aborted...\n"
            "* Error at EoXput-File...\n");
  EXPECT_EQ(fake.events, (std::vector<std::string>{"RfcLastError", "RfcClose 0"}));
}

TEST(RfcErrorReport, FieldsFilledToTheirLastByteAreReadOnlyWithinThem) {
  reset_fake_rfc_library();
  FakeRfcLibrary& fake = fake_rfc_library();
  std::memset(fake.last_error.key, 'K', sizeof fake.last_error.key);
  std::memset(fake.last_error.status, 'S', sizeof fake.last_error.status);
  TestRun run;
  install_rfc_environment(run.state());
  char operation[] = "RfcCall";
  exit_code_of([&] { fake.error_handler(operation); });
  const std::string printed = run.printed();
  EXPECT_NE(printed.find("key             : " + std::string(33, 'K') + "\n"), std::string::npos);
  EXPECT_NE(printed.find("status          : " + std::string(128, 'S') + "\n"), std::string::npos);
}
