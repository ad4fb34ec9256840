// Any target file: its first line names the installation's output target, or
// the run is refused.  The input is the file, served from the tests' virtual
// files.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "output/output_target.h"
#include "platform/files.h"
#include "virtual_files.h"

namespace {

// The first line as the target file means it: NUL bytes do not count, and
// blanks and carriage returns at its end are trimmed away.
std::string meant_first_line(std::string_view bytes) {
  std::string line;
  for (char c : bytes) {
    if (c == '\n') break;
    if (c != '\0') line += c;
  }
  line.erase(line.find_last_not_of(" \r") + 1);
  return line;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  VirtualFiles files;
  files.add("quenmarel.target", std::string(bytes));
  // A target no keyword gives, so that a refusal that set one is seen.
  OutputTarget target = static_cast<OutputTarget>(-1);
  const bool named = output_target_from_file(OwnedFile(VirtualFiles::open("quenmarel.target")).get(), target);
  FUZZ_CHECK(files.open_count() == 0);
  const std::string line = meant_first_line(bytes);
  if (named) {
    FUZZ_CHECK(output_target_keyword(target) == line);
  } else {
    FUZZ_CHECK(target == static_cast<OutputTarget>(-1));
    OutputTarget any;
    FUZZ_CHECK(!output_target_from_keyword(line, any));
  }
  return 0;
}
