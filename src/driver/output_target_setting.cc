#include "driver/output_target_setting.h"

#include "common/numbered_errors.h"
#include "output/result_document.h"
#include "platform/files.h"
#include "platform/process.h"

bool fix_output_target(OutputTarget& target, TextBuffer& message) {
  target = OutputTarget::EXEXML;
  PathText path;
  if (!executable_directory(path) || !path.append_whole(target_file_name)) return true;
  const OwnedFile file(open_file_for_reading(path.c_str()));
  if (file == nullptr || output_target_from_file(file.get(), target)) return true;
  ResultText refusal;  // the file's path and the keywords it may hold
  form_target_file_refusal(path.view(), refusal);
  write_numbered_error(NumberedError::OutputTargetUnknown, refusal.view(), message);
  return false;
}
