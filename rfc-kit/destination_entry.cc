#include "destination_entry.h"

#include "common/bounded_text.h"
#include "error_report.h"

bool find_destination_entry(const char* function, const char* connect_string, ConnectStringFields& fields,
                            LogonFileEntry& entry, rfc_open_error_details* details) {
  if (!parse_connect_string(connect_string, fields)) {
    fail_open(function, key_program, "invalid connect string",
              "connect string without CLIENT=, USER=, PASSWD=, LANG= and DEST= in this order", details);
    return false;
  }
  const LogonFileLookup lookup = find_logon_entry(fields.destination.view(), entry);
  if (lookup == LogonFileLookup::Found) return true;
  const char* status = "";
  BoundedText<1023> message;
  describe_missing_entry(lookup, fields.destination.view(), &status, message);
  fail_open(function, key_destination, status, message.view(), details);
  return false;
}

rfc_handle fail_unusable_destination(const char* function, std::string_view destination, std::string_view problem,
                                     rfc_open_error_details* details) {
  BoundedText<1023> message;
  describe_unusable_entry(destination, problem, message);
  return fail_open(function, key_destination, "invalid destination", message.view(), details);
}
