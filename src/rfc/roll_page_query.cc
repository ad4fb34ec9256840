#include "rfc/roll_page_query.h"

#include <cstring>

#include "output/console_routines.h"

namespace {

constexpr const char* function_name = "SAPTUNE_ROLL_PAGE_SIZES";

rfc_parameter integer_parameter(const char* name, std::int32_t& value) {
  return rfc_parameter{name, static_cast<unsigned>(std::strlen(name)), RFC_TYPE_INT, sizeof value, &value};
}

}  // namespace

rfc_result_code query_roll_page_sizes(RunState& state, rfc_handle handle, RollPageSizes& sizes,
                                      ExceptionText& exception_text) {
  rfc_parameter no_parameters[] = {rfc_parameter{}};
  rfc_table_entry rfc_table_list[] = {rfc_table_entry{}};

  const rfc_result_code sent = RfcCall(handle, function_name, no_parameters, rfc_table_list);
  write_syslog_line(state, handle, "RfcCall called", "");
  if (sent != RFC_RESULT_OK) return sent;

  rfc_parameter receiving[] = {
      integer_parameter("PAGE_AREA_SHARED_MEMORY", sizes.PAGE_AREA_SHARED_MEMORY),
      integer_parameter("PAGE_AREA_SIZE", sizes.PAGE_AREA_SIZE),
      integer_parameter("PAGE_CURRENTLY_USED", sizes.PAGE_CURRENTLY_USED),
      integer_parameter("PAGE_MAX_USED", sizes.PAGE_MAX_USED),
      integer_parameter("PAGE_WP_LOCAL", sizes.PAGE_WP_LOCAL),
      integer_parameter("PAGING_FILE_SIZE", sizes.PAGING_FILE_SIZE),
      integer_parameter("ROLL_AREA_SHARED_MEMORY", sizes.ROLL_AREA_SHARED_MEMORY),
      integer_parameter("ROLL_AREA_SIZE", sizes.ROLL_AREA_SIZE),
      integer_parameter("ROLL_CURRENTLY_USED", sizes.ROLL_CURRENTLY_USED),
      integer_parameter("ROLL_FILE_SIZE", sizes.ROLL_FILE_SIZE),
      integer_parameter("ROLL_MAX_USED", sizes.ROLL_MAX_USED),
      rfc_parameter{},
  };
  char* library_exception_text = nullptr;
  const rfc_result_code received = RfcReceive(handle, receiving, rfc_table_list, &library_exception_text);
  write_syslog_line(state, handle, "RfcReceive called", "");
  // A longer exception text is cut at 255 characters.
  if (received == RFC_RESULT_EXCEPTION || received == RFC_RESULT_SYS_EXCEPTION)
    exception_text.assign(library_exception_text != nullptr ? library_exception_text : "");
  return received;
}
