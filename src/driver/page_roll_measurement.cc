#include "driver/page_roll_measurement.h"

#include "rfc/roll_page_query.h"

rfc_result_code measure_page_roll_usage(rfc_handle handle, PageRollUsage& usage, TextBuffer& failure_text) {
  RollPageSizes sizes;
  ExceptionText exception_text;
  const rfc_result_code code = query_roll_page_sizes(handle, sizes, exception_text);
  if (code == RFC_RESULT_OK)
    usage = calculate_page_roll_usage(sizes);
  else
    write_query_failure(code, exception_text.view(), failure_text);
  return code;
}
