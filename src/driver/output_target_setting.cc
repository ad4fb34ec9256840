#include "driver/output_target_setting.h"

#include <cstdio>

#include "common/line_reader.h"
#include "driver/run_state.h"
#include "driver/sensor_run.h"
#include "platform/files.h"
#include "platform/process.h"

namespace {

constexpr const char* target_file_name = "quenmarel.target";

// Reads the first line without trailing blanks and carriage returns; false
// when the file is absent.
bool read_target_keyword(const char* path, TextBuffer& keyword) {
  std::FILE* file = open_file_for_reading(path);
  if (file == nullptr) return false;
  LineReader reader(file);
  reader.read(keyword, keyword.capacity());
  std::fclose(file);
  std::size_t end = keyword.size();
  while (end > 0 && (keyword[end - 1] == ' ' || keyword[end - 1] == '\r')) --end;
  keyword.cut_at(end);
  return true;
}

}  // namespace

void fix_output_target(RunState& state) {
  state.output_target = OutputTarget::EXEXML;
  BoundedText<4095> path;
  if (!executable_directory(path) || !path.append(target_file_name)) return;
  BoundedText<63> keyword;
  if (!read_target_keyword(path.c_str(), keyword)) return;
  if (output_target_from_keyword(keyword.view(), state.output_target)) return;
  BoundedText<4095> message;
  message.assignf("Error 1008: Output target in %s must be one of EXEXML, Miravex, Tolvane, Quelbrin, Harnick !",
                  path.c_str());
  end_run_with_error(state, message.view());
}
