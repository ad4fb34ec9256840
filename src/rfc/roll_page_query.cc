#include "rfc/roll_page_query.h"

#include <cstring>

#include "common/text_characters.h"

namespace {

constexpr const char* function_name = "SAPTUNE_ROLL_PAGE_SIZES";

rfc_parameter integer_parameter(const char* name, std::int32_t& value) {
  return rfc_parameter{name, static_cast<unsigned>(std::strlen(name)), RFC_TYPE_INT, sizeof value, &value};
}

}  // namespace

rfc_result_code query_roll_page_sizes(rfc_handle handle, RollPageSizes& sizes, ExceptionText& exception_text) {
  rfc_parameter no_parameters[] = {rfc_parameter{}};
  rfc_table_entry rfc_table_list[] = {rfc_table_entry{}};

  const rfc_result_code sent = RfcCall(handle, function_name, no_parameters, rfc_table_list);
  if (sent != RFC_RESULT_OK) return sent;

  // One entry per value and the empty entry that ends the list.
  rfc_parameter receiving[roll_page_value_count + 1] = {};
  for (std::size_t i = 0; i < roll_page_value_count; ++i)
    receiving[i] = integer_parameter(roll_page_value_names[i], sizes.value[i]);
  char* library_exception_text = nullptr;
  const rfc_result_code received = RfcReceive(handle, receiving, rfc_table_list, &library_exception_text);
  if (received == RFC_RESULT_EXCEPTION || received == RFC_RESULT_SYS_EXCEPTION) {
    // The server's text, which may span lines; it is shown within one.
    exception_text.clear();
    append_single_line(exception_text, library_exception_text != nullptr ? library_exception_text : "");
  }
  return received;
}
