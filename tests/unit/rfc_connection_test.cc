#include "rfc/rfc_connection.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>

#include "fake_rfc_library.h"
#include "output/run_endings.h"
#include "test_support.h"

namespace {

class RfcConnectionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    reset_fake_rfc_library();
    entry.destination.assign("PRD");
    entry.client.assign("100");
    entry.user.assign("ADMIN");
    entry.password.assign("secret");
    entry.language.assign("EN");
    entry.mode.assign("R/3");
    entry.hostname.assign("sapprd01");
    entry.sysnr.assign("00");
    entry.gwhost.assign("gw01");
    entry.gwservice.assign("sapgw00");
  }
  void set_options(const char* given) {
    options.given_options.assign(given);
    refresh_run_options(options);
  }
  void TearDown() override { unsetenv("RFC_INI"); }
  rfc_handle open() { return open_rfc_connection(records, entry, options, printed.stream()); }
  static std::string own_copy_name() { return "SapRfc-" + std::to_string(getpid()) + ".ini"; }

  ScratchDirectory directory;
  CapturedOutput printed;
  SystemEntry entry;
  RunOptions options;
  RfcRecords records;
  FakeRfcLibrary& fake = fake_rfc_library();
};

}  // namespace

TEST_F(RfcConnectionTest, LogonRecordPadsUserAndPasswordButNotTheEntry) {
  EXPECT_EQ(open(), 42u);
  EXPECT_EQ(fake.open_calls, 1);
  EXPECT_EQ(fake.user, "ADMIN       ");
  EXPECT_EQ(fake.password, "secret    ");
  EXPECT_EQ(fake.destination, "PRD");
  EXPECT_EQ(fake.client, "100");
  EXPECT_EQ(fake.language, "EN");
  EXPECT_EQ(fake.trace_level, 0);
  EXPECT_EQ(entry.user.view(), "ADMIN");
  EXPECT_EQ(printed.text(), "");
}

TEST_F(RfcConnectionTest, LongUserAndPasswordArePassedWhole) {
  entry.user.assign("MONITORUSER12");
  entry.password.assign("0123456789ab");
  open();
  EXPECT_EQ(fake.user, "MONITORUSER12");
  EXPECT_EQ(fake.password, "0123456789ab");
}

TEST_F(RfcConnectionTest, OnlyTheExactModeR2ConnectsThroughTheGateway) {
  entry.mode.assign("R/2");
  open();
  EXPECT_EQ(fake.connection_mode, RFC_MODE_R2);
  EXPECT_EQ(fake.gateway_host, "gw01");
  EXPECT_EQ(fake.gateway_service, "sapgw00");
  EXPECT_FALSE(fake.hostname.has_value());

  for (const char* mode : {"r/2", "R/3", "R/2 "}) {
    reset_fake_rfc_library();
    entry.mode.assign(mode);
    open();
    EXPECT_EQ(fake.connection_mode, RFC_MODE_R3) << mode;
    EXPECT_EQ(fake.hostname, "sapprd01") << mode;
  }
}

TEST_F(RfcConnectionTest, EmptyTextsArePassedAsNull) {
  entry.gwhost.clear();
  entry.gwservice.clear();
  entry.hostname.clear();
  open();
  EXPECT_FALSE(fake.hostname.has_value());
  EXPECT_FALSE(fake.gateway_host.has_value());
  EXPECT_FALSE(fake.gateway_service.has_value());

  reset_fake_rfc_library();
  entry.mode.assign("R/2");
  open();
  EXPECT_FALSE(fake.gateway_host.has_value());
  EXPECT_FALSE(fake.gateway_service.has_value());
}

TEST_F(RfcConnectionTest, SystemNumberIsConvertedAsADecimalNumber) {
  const std::pair<const char*, int> cases[] = {{"00", 0}, {"07", 7}, {" 12x", 12}, {"", 0}, {"ab", 0}, {"-3", -3}};
  for (const auto& [sysnr, expected] : cases) {
    entry.sysnr.assign(sysnr);
    open();
    EXPECT_EQ(fake.system_number, expected) << sysnr;
  }
}

TEST_F(RfcConnectionTest, HostAndSystemNumberOverridesKeepTheirTypedCase) {
  set_options("CH=2,Host=SapQas02,no=11,ITEM=X");
  open();
  EXPECT_EQ(fake.hostname, "SapQas02");
  EXPECT_EQ(fake.system_number, 11);
  EXPECT_EQ(entry.hostname.view(), "sapprd01");
}

TEST_F(RfcConnectionTest, OverrideRunsToTheNextBlankAndEmptyOverridesClearTheValues) {
  set_options(",HOST=h1 ,NO=5 # x");
  open();
  EXPECT_EQ(fake.hostname, "h1");
  EXPECT_EQ(fake.system_number, 5);

  set_options(",HOST=,NO=");
  open();
  EXPECT_FALSE(fake.hostname.has_value());
  EXPECT_EQ(fake.system_number, 0);
}

TEST_F(RfcConnectionTest, OverridesWithoutTheirCommaAreNoOverrides) {
  set_options("HOST=h1 NO=5");
  open();
  EXPECT_EQ(fake.hostname, "sapprd01");
  EXPECT_EQ(fake.system_number, 0);
}

TEST_F(RfcConnectionTest, PerDestinationLogonFileIsCopiedByteForByteBeforeOpening) {
  const std::string logon_file = "DEST=PRD\r\nTYPE=A\r\nASHOST=sapprd01\r\nSYSNR=00";
  directory.write("SapRfc.PRD", logon_file);
  directory.write("SapRfc.ini", "DEST=OLD\nTYPE=A\nASHOST=old\nSYSNR=99\n");
  EXPECT_EQ(open(), 42u);
  EXPECT_EQ(fake.open_calls, 0);
  EXPECT_EQ(fake.open_ex_calls, 1);
  EXPECT_EQ(fake.logon_file_at_open_ex, logon_file);
  EXPECT_EQ(directory.read("SapRfc.ini"), logon_file);
  EXPECT_EQ(printed.text(), "") << "outside console mode the line would stand before the document";
  options.console_mode = true;
  open();
  EXPECT_EQ(printed.text(), "* SapRfc.Ini.......: PRD<\n");
}

// Other sensors replace "SapRfc.ini" while the library still waits for this
// run's system, so the library reads a copy no other run writes, and the lock
// is held for the copy alone.
TEST_F(RfcConnectionTest, LibraryReadsTheRunsOwnCopyWhileTheSharedOneIsFreeForOthers) {
  const std::string logon_file = "DEST=PRD\r\nTYPE=A\r\nASHOST=sapprd01\r\nSYSNR=00";
  directory.write("SapRfc.PRD", logon_file);
  const std::string own_copy = own_copy_name();
  {
    RfcRecords item_records;
    EXPECT_EQ(open_rfc_connection(item_records, entry, options, printed.stream()), 42u);
    EXPECT_EQ(fake.rfc_ini, own_copy);
    EXPECT_EQ(fake.rfc_ini_file_at_open_ex, logon_file);
    EXPECT_TRUE(fake.logon_lock_free_at_open_ex);
    EXPECT_EQ(directory.read("SapRfc.ini"), logon_file);
    EXPECT_TRUE(directory.exists(own_copy));
  }
  EXPECT_FALSE(directory.exists(own_copy));  // gone with the run
}

TEST_F(RfcConnectionTest, EveryOpenRewritesTheOwnCopyForALibraryThatReadsRfcIniOnce) {
  directory.write("SapRfc.PRD", "DEST=PRD\nASHOST=sapprd01\nSYSNR=00\n");
  directory.write("SapRfc.DEV", "DEST=DEV\nASHOST=sapdev01\nSYSNR=01\n");
  fake.reads_rfc_ini_once = true;
  open();
  entry.destination.assign("DEV");
  open();
  EXPECT_EQ(fake.open_ex_calls, 2);
  EXPECT_EQ(fake.rfc_ini, own_copy_name());
  EXPECT_EQ(fake.rfc_ini_file_at_open_ex, "DEST=DEV\nASHOST=sapdev01\nSYSNR=01\n");
  EXPECT_EQ(directory.read("SapRfc.ini"), "DEST=DEV\nASHOST=sapdev01\nSYSNR=01\n");
}

// A library whose C runtime copies the environment when it is loaded knows
// only what was set before; the copy itself is written at each open.
TEST_F(RfcConnectionTest, LibraryIsLoadedOnlyAfterRfcIniNamesTheOwnCopy) {
  directory.write("SapRfc.PRD", "DEST=PRD\nASHOST=sapprd01\nSYSNR=00\n");
  BoundedText<255> failure;
  ASSERT_TRUE(prepare_rfc_library(failure));
  EXPECT_EQ(fake.load_calls, 1);
  EXPECT_EQ(fake.rfc_ini_at_load, own_copy_name());
  open();
  EXPECT_EQ(fake.rfc_ini, own_copy_name());
  EXPECT_EQ(fake.rfc_ini_file_at_open_ex, "DEST=PRD\nASHOST=sapprd01\nSYSNR=00\n");

  fake.load_failure = "librfc32.so has no function RfcOpenEx";
  EXPECT_FALSE(prepare_rfc_library(failure));
  EXPECT_EQ(failure.view(), fake.load_failure);
}

TEST_F(RfcConnectionTest, OwnCopyIsNeverWrittenThroughWhatTakesItsName) {
  directory.write("SapRfc.PRD", "DEST=PRD\n");
  directory.write("victim", "untouched");
  const std::string own_copy = own_copy_name();
  for (const bool as_link : {false, true}) {
    reset_fake_rfc_library();
    if (as_link)
      std::filesystem::create_symlink("victim", own_copy);
    else
      std::filesystem::create_directory(own_copy);
    EXPECT_EQ(open(), RFC_NULL_HANDLE) << as_link;
    EXPECT_EQ(fake.open_ex_calls, 0) << as_link;
    EXPECT_EQ(directory.read("victim"), "untouched");
    std::filesystem::remove(own_copy);
  }
}

TEST_F(RfcConnectionTest, ConnectStringCarriesTheEntryUnpaddedInLanguageD) {
  directory.write("SapRfc.PRD", "");
  open();
  EXPECT_EQ(fake.connect_string, "CLIENT=100 USER=ADMIN PASSWD=secret LANG=D DEST=PRD");
  EXPECT_EQ(fake.logon_file_at_open_ex, "");
}

TEST_F(RfcConnectionTest, LogonFileThatCannotBeReplacedOpensNothing) {
  directory.write("SapRfc.PRD", "DEST=PRD\n");
  std::filesystem::create_directory("SapRfc.ini");
  EXPECT_EQ(open(), RFC_NULL_HANDLE);
  EXPECT_EQ(fake.open_ex_calls, 0);
  EXPECT_EQ(fake.open_calls, 0);
  EXPECT_FALSE(directory.exists("SapRfc.ini.new"));
}

TEST_F(RfcConnectionTest, NullHandleOfTheLibraryMeansNoConnection) {
  fake.open_handle = RFC_NULL_HANDLE;
  EXPECT_EQ(open(), RFC_NULL_HANDLE);
}

TEST_F(RfcConnectionTest, EnvironmentInstallsTheErrorHandlerWithoutAllocationHook) {
  install_rfc_environment(records, printed.stream(), monitor_run_endings.rfc_error_report);
  EXPECT_EQ(fake.environment_calls, 1);
  EXPECT_NE(fake.error_handler, nullptr);
  EXPECT_EQ(fake.allocate_routine, nullptr);
}
