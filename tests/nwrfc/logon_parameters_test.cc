// The NetWeaver logon parameters of RfcOpen's record and of a connect string
// with its destination's entry in the logon file, SAProuter routes split.
#include "logon_parameters.h"

#include <gtest/gtest.h>

#include <string>

#include "rfc_test_fixture.h"

namespace {

// "name=value" for each parameter, joined by blanks.
std::string listed(const LogonParameters& parameters) {
  std::string text;
  for (std::size_t i = 0; i < parameters.count; ++i) {
    if (!text.empty()) text += ' ';
    text += std::string(parameters.entries[i].name) + "=" + std::string(parameters.entries[i].value.view());
  }
  return text;
}

/// What RfcOpen is given, before the sensor's padding.
struct OptionsRow {
  int mode;
  const char* hostname;
  int system_number;
  const char* gateway_host;
  const char* gateway_service;
  std::string password;
  const char* language;
  std::string expected;  // the parameters, or the problem
};

std::string parameters_of(const OptionsRow& row) {
  std::string destination = "PRD", client = "100", user = "MONITOR     ";
  std::string password = row.password + (row.password.size() < 10 ? std::string(10 - row.password.size(), ' ') : "");
  std::string language = row.language;
  std::string hostname = row.hostname ? row.hostname : "";
  std::string gateway_host = row.gateway_host ? row.gateway_host : "";
  std::string gateway_service = row.gateway_service ? row.gateway_service : "";
  r3_connection_options_record server{row.hostname ? hostname.data() : nullptr, row.system_number,
                                      row.gateway_host ? gateway_host.data() : nullptr,
                                      row.gateway_service ? gateway_service.data() : nullptr};
  r2_connection_options_record gateway{gateway_host.data(), gateway_service.data()};
  rfc_logon_options_record options{destination.data(),
                                   row.mode,
                                   row.mode == RFC_MODE_R2 ? static_cast<void*>(&gateway) : static_cast<void*>(&server),
                                   client.data(),
                                   user.data(),
                                   password.data(),
                                   language.data(),
                                   0};
  LogonParameters parameters;
  BoundedText<255> problem;
  if (!parameters_from_logon_options(options, parameters, problem)) return "problem: " + std::string(problem.view());
  return listed(parameters);
}

TEST(LogonParameters, LogonRecordGivesTheApplicationServerAndUnpaddedLogonValues) {
  const std::string p127(127, 'p');
  const OptionsRow rows[] = {
      {RFC_MODE_R3, "sapprd01", 0, "sapgw01", "sapgw00", "secret", "EN",
       "ashost=sapprd01 sysnr=00 gwhost=sapgw01 gwserv=sapgw00 client=100 user=MONITOR passwd=secret lang=EN"},
      {RFC_MODE_R3, "sapprd01  ", 7, nullptr, nullptr, "secret", "D",
       "ashost=sapprd01 sysnr=07 client=100 user=MONITOR passwd=secret lang=D"},
      {RFC_MODE_R3, "h", 99, "", " ", "a b ", "", "ashost=h sysnr=99 client=100 user=MONITOR passwd=a b"},
      {RFC_MODE_R3, "h", 0, nullptr, nullptr, p127, "E",
       "ashost=h sysnr=00 client=100 user=MONITOR passwd=" + p127 + " lang=E"},
      {RFC_MODE_R3, "h", 0, nullptr, nullptr, p127 + "p", "E", "problem: logon data too long"},
      {RFC_MODE_R3, "h", 100, nullptr, nullptr, "s", "E", "problem: invalid system number 100"},
      {RFC_MODE_R3, "h", -1, nullptr, nullptr, "s", "E", "problem: invalid system number -1"},
      {RFC_MODE_R3, nullptr, 0, nullptr, nullptr, "s", "E", "problem: no host name given"},
      {RFC_MODE_R3, "   ", 0, nullptr, nullptr, "s", "E", "problem: no host name given"},
      {RFC_MODE_R2, "h", 0, "gw", "sapgw00", "s", "E", "problem: the NetWeaver RFC library has no R/2 connections"},
      {5, "h", 0, nullptr, nullptr, "s", "E", "problem: unknown connection mode 5"},
      {RFC_MODE_R3, "/H/gate.example.com/S/3299/H/sapprd01", 0, nullptr, nullptr, "s", "E",
       "saprouter=/H/gate.example.com/S/3299/H/ ashost=sapprd01 sysnr=00 client=100 user=MONITOR passwd=s lang=E"},
      {RFC_MODE_R3, "/H/gate/W/hop-secret/H/sapprd01/S/3300", 0, nullptr, nullptr, "s", "E",
       "problem: destination PRD: the SAProuter route does not end in the application server's host"},
      {RFC_MODE_R3, "/h/gate/s/3299/w/Secret/h/sapprd01", 0, nullptr, nullptr, "s", "E",
       "saprouter=/h/gate/s/3299/w/Secret/h/ ashost=sapprd01 sysnr=00 client=100 user=MONITOR passwd=s lang=E"},
      {RFC_MODE_R3, "/W/Secret/H/sapprd01", 0, "/W/Secret/H/sapgw01", "sapgw00", "s", "E",
       "saprouter=/W/Secret/H/ ashost=sapprd01 sysnr=00 gwhost=sapgw01 gwserv=sapgw00 client=100 user=MONITOR "
       "passwd=s lang=E"},
      {RFC_MODE_R3, "sapprd01", 0, "/S/3299/W/Secret/H/sapgw01", nullptr, "s", "E",
       "saprouter=/S/3299/W/Secret/H/ ashost=sapprd01 sysnr=00 gwhost=sapgw01 client=100 user=MONITOR passwd=s "
       "lang=E"},
      {RFC_MODE_R3, "/H/gate1/H/sapprd01", 0, "/H/gate2/H/sapgw01", nullptr, "s", "E",
       "problem: destination PRD: the SAProuter routes of the application server and the gateway differ"},
      {RFC_MODE_R3, "sapprd01", 0, "/H/gate/W/Secret/H/", nullptr, "s", "E",
       "problem: destination PRD: the SAProuter route does not end in the gateway's host"},
  };
  for (const OptionsRow& row : rows) EXPECT_EQ(parameters_of(row), row.expected) << row.expected;
}

class LogonFileParameters : public RfcTest {
 protected:
  /// The parameters for DEST=PRD of `logon_file`, or the problem.
  static std::string parameters_of(const std::string& logon_file) {
    write_file("SapRfc.ini", logon_file);
    ConnectStringFields fields;
    EXPECT_TRUE(parse_connect_string("CLIENT=100 USER=MONITOR PASSWD=Geheim42 LANG=D DEST=PRD", fields));
    LogonFileEntry entry;
    BoundedText<255> problem;
    if (find_logon_entry("PRD", entry) != LogonFileLookup::Found) return "not found";
    LogonParameters parameters;
    if (!parameters_from_logon_entry(fields, entry, parameters, problem))
      return "problem: " + std::string(problem.view());
    return listed(parameters);
  }
};

TEST_F(LogonFileParameters, EntryGivesTheApplicationServerOrTheLoadBalancingWithSecureNetwork) {
  const std::string logon = " client=100 user=MONITOR passwd=Geheim42 lang=D";
  const struct {
    const char* entry;
    std::string expected;
  } rows[] = {
      {"TYPE=A\nASHOST=sapprd01\nSYSNR=7\nGWHOST=sapgw01\nGWSERV=sapgw07\n",
       "ashost=sapprd01 sysnr=07 gwhost=sapgw01 gwserv=sapgw07" + logon},
      {"ASHOST=/H/saprouter/S/3299/H/sapprd01\nSYSNR=00\n",
       "saprouter=/H/saprouter/S/3299/H/ ashost=sapprd01 sysnr=00" + logon},
      {"ASHOST=/H/gate1/S/3299/W/pass1/H/10.1.2.3/S/3298/W/pass2/H/sapprd01\nSYSNR=00\n",
       "saprouter=/H/gate1/S/3299/W/pass1/H/10.1.2.3/S/3298/W/pass2/H/ ashost=sapprd01 sysnr=00" + logon},
      {"ASHOST=/H/gate1/W/secret/H/\nSYSNR=00\n",
       "problem: the SAProuter route does not end in the application server's host"},
      {"ASHOST=/H/gate1/W/secret/H/sapprd01/S/3300\nSYSNR=00\n",
       "problem: the SAProuter route does not end in the application server's host"},
      {"ASHOST=/H/gate1/S/3299/W/secret\nSYSNR=00\n",
       "problem: the SAProuter route does not end in the application server's host"},
      {"ASHOST=/s/3299/w/secret/h/sapprd01\nSYSNR=00\nGWHOST=/s/3299/w/secret/h/sapgw01\n",
       "saprouter=/s/3299/w/secret/h/ ashost=sapprd01 sysnr=00 gwhost=sapgw01" + logon},
      {"ASHOST=sapprd01\nSYSNR=00\nGWHOST=/W/secret/H/sapgw01\nGWSERV=sapgw00\n",
       "saprouter=/W/secret/H/ ashost=sapprd01 sysnr=00 gwhost=sapgw01 gwserv=sapgw00" + logon},
      {"ASHOST=/H/gate1/H/sapprd01\nSYSNR=00\nGWHOST=/H/gate2/H/sapgw01\n",
       "problem: the SAProuter routes of the application server and the gateway differ"},
      {"TYPE=B\nMSHOST=sapms01\nMSSERV=sapmsPRD\nR3NAME=PRD\nGROUP=SPACE\n"
       "SNC_MODE=1\nSNC_PARTNERNAME=p:CN=PRD, O=Example\nSNC_QOP=9\nSNC_MYNAME=p:CN=monitor\n"
       "SNC_LIB=C:\\Program Files\\SAP\\sapcrypto.dll\n",
       "mshost=sapms01 msserv=sapmsPRD sysid=PRD group=SPACE snc_mode=1 snc_partnername=p:CN=PRD, O=Example "
       "snc_qop=9 snc_myname=p:CN=monitor snc_lib=C:\\Program Files\\SAP\\sapcrypto.dll" +
           logon},
      {"type=b\nR3NAME=PRD\nMSHOST=sapms01\n", "mshost=sapms01 sysid=PRD" + logon},
      {"MSHOST=sapms01\nR3NAME=PRD\n", "mshost=sapms01 sysid=PRD" + logon},
      {"TYPE=A\nASHOST=sapprd01\nSYSNR=00\nSNC_MODE=1\nSNC_PARTNERNAME=p:CN=PRD\n",
       "ashost=sapprd01 sysnr=00 snc_mode=1 snc_partnername=p:CN=PRD" + logon},
      {"TYPE=B\nMSHOST=sapms01\n", "problem: no R3NAME given"},
      {"TYPE=B\nR3NAME=PRD\nASHOST=sapprd01\nSYSNR=00\n", "problem: no MSHOST given"},
      {"TYPE=A\nMSHOST=sapms01\nR3NAME=PRD\n", "problem: no ASHOST given"},
      {"GWHOST=sapgw01\nGWSERV=sapgw00\n", "problem: neither ASHOST nor MSHOST given"},
      {"TYPE=R\nASHOST=sapprd01\nSYSNR=00\n", "problem: TYPE=R is not supported"},
      {"TYPE=AB\nASHOST=sapprd01\nSYSNR=00\n", "problem: TYPE=AB is not supported"},
      {"TYPE=A\nASHOST=sapprd01\nSYSNR=x1\n", "problem: invalid system number x1"},
      {"TYPE=A\nASHOST=sapprd01\nSYSNR=100\n", "problem: invalid system number 100"},
      {"TYPE=A\nASHOST=sapprd01\n", "problem: invalid system number "},
  };
  for (const auto& row : rows)
    EXPECT_EQ(parameters_of("DEST=QAS\nTYPE=A\nASHOST=sapqas01\nSYSNR=01\nDEST=PRD\n" + std::string(row.entry) +
                            "DEST=DEV\nTYPE=B\nMSHOST=sapms09\n"),
              row.expected)
        << row.entry;
}

TEST_F(LogonFileParameters, ValueOf255CharactersIsTakenAndALongerOneMakesTheEntryUnusable) {
  const std::string name_255(255, 'n');
  EXPECT_EQ(parameters_of("DEST=PRD\nTYPE=A\nASHOST=h\nSYSNR=00\nSNC_PARTNERNAME=" + name_255 + "\n"),
            "ashost=h sysnr=00 snc_partnername=" + name_255 + " client=100 user=MONITOR passwd=Geheim42 lang=D");
  EXPECT_EQ(parameters_of("DEST=PRD\nTYPE=A\nASHOST=h\nSYSNR=00\nSNC_PARTNERNAME=" + name_255 + "n\n"),
            "problem: value of SNC_PARTNERNAME too long");
  EXPECT_EQ(parameters_of("DEST=PRD\nTYPE=A\nASHOST=" + name_255 + "hh\nSYSNR=00\nSNC_LIB=" + name_255 + "l\n"),
            "problem: value of ASHOST too long");
}

}  // namespace
