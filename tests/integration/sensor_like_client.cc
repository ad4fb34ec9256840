#include "sensor_like_client.h"

#include <vector>

namespace {

const char* const value_names[11] = {"PAGE_AREA_SHARED_MEMORY", "PAGE_AREA_SIZE", "PAGE_CURRENTLY_USED",
                                     "PAGE_MAX_USED",           "PAGE_WP_LOCAL",  "PAGING_FILE_SIZE",
                                     "ROLL_AREA_SHARED_MEMORY", "ROLL_AREA_SIZE", "ROLL_CURRENTLY_USED",
                                     "ROLL_FILE_SIZE",          "ROLL_MAX_USED"};

std::string padded(std::string text, std::size_t width) {
  if (text.size() < width) text.append(width - text.size(), ' ');
  return text;
}

rfc_handle open_with(int mode, void* connection_options, const LogonValues& logon) {
  std::string destination = "PRD";
  std::string client = logon.client;
  std::string user = padded(logon.user, 12);
  std::string password = padded(logon.password, 10);
  std::string language = logon.language;
  rfc_logon_options_record options{
      destination.data(), mode, connection_options, client.data(), user.data(), password.data(), language.data(), 0};
  return RfcOpen(&options);
}

}  // namespace

rfc_handle open_application_server(const std::string& host, int system_number, const LogonValues& logon) {
  std::string hostname = host;
  r3_connection_options_record server{hostname.data(), system_number, nullptr, nullptr};
  return open_with(RFC_MODE_R3, &server, logon);
}

rfc_handle open_gateway(const std::string& host, const std::string& service, const LogonValues& logon) {
  std::string gateway_host = host;
  std::string gateway_service = service;
  r2_connection_options_record gateway{gateway_host.data(), gateway_service.data()};
  return open_with(RFC_MODE_R2, &gateway, logon);
}

QueryResult query_roll_page_sizes(rfc_handle handle) {
  QueryResult result;
  for (std::int32_t& value : result.values) value = untouched;
  rfc_parameter no_parameters[1] = {{nullptr, 0, 0, 0, nullptr}};
  rfc_table_entry no_tables[1] = {{nullptr, 0, 0, 0, nullptr, 0, 0}};
  result.code = RfcCall(handle, "SAPTUNE_ROLL_PAGE_SIZES", no_parameters, no_tables);
  if (result.code != RFC_RESULT_OK) return result;
  std::vector<rfc_parameter> receiving;
  for (int i = 0; i < 11; ++i) {
    receiving.push_back({value_names[i], static_cast<unsigned>(std::string(value_names[i]).size()), RFC_TYPE_INT, 4,
                         &result.values[i]});
  }
  receiving.push_back({nullptr, 0, 0, 0, nullptr});
  char* exception = nullptr;
  result.code = RfcReceive(handle, receiving.data(), no_tables, &exception);
  result.exception_given = exception != nullptr;
  if (exception != nullptr) result.exception = exception;
  return result;
}
