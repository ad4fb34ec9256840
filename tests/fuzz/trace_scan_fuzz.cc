// Any trace file, read from any offset, by a run alone in its directory or
// beside others.  The input: a byte whose lowest bit says whether the run is
// alone, two bytes of the window's start, a line that is the library's last
// error message for this process, and the rest as Dev_Rfc.Trc.
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "common/rfc_names.h"
#include "common/saprouter_route.h"
#include "fuzz_check.h"
#include "rfc/trace_file_scan.h"
#include "rfc_library.h"

namespace {

std::string own_message;

constexpr std::string_view look_hint = " - Look for Trace-File";
constexpr std::string_view check_hint = " - Please Check Trace-File !";
constexpr std::string_view before_text = " - ";

// The scan reads a real file in the working directory: one directory of the
// target's own for all inputs, entered for each scan only, so that libFuzzer's
// own paths keep their meaning.
class InScratchDirectory {
 public:
  InScratchDirectory() : previous_(open(".", O_RDONLY | O_DIRECTORY)) {
    static std::string scratch;
    if (scratch.empty()) {
      char pattern[] = "/tmp/quenmarel-fuzz-trace-XXXXXX";
      FUZZ_CHECK(mkdtemp(pattern) != nullptr);
      scratch = pattern;
    }
    FUZZ_CHECK(previous_ >= 0 && chdir(scratch.c_str()) == 0);
  }
  ~InScratchDirectory() {
    FUZZ_CHECK(fchdir(previous_) == 0);
    close(previous_);
  }

 private:
  int previous_;
};

void write_trace_file(std::string_view bytes) {
  std::FILE* file = std::fopen(rfc_trace_file_name, "wb");
  FUZZ_CHECK(file != nullptr);
  FUZZ_CHECK(std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size());
  FUZZ_CHECK(std::fclose(file) == 0);
}

// The "/W/" hops of a text, in either case.
std::size_t password_hops(std::string_view text) {
  std::size_t hops = 0;
  for (std::size_t at = 0; at + 3 <= text.size(); ++at)
    hops += text[at] == '/' && (text[at + 1] == 'W' || text[at + 1] == 'w') && text[at + 2] == '/';
  return hops;
}

}  // namespace

// The library's record of this process's last error.
extern "C" int RFC_CALL RfcLastError(rfc_error_info* error) {
  std::memset(error, 0, sizeof *error);
  std::memcpy(error->message, own_message.data(), std::min(own_message.size(), sizeof error->message - 1));
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 3) return 0;
  InScratchDirectory scratch;
  const bool alone = (data[0] & 1) != 0;
  TraceWindow window;
  window.start = static_cast<std::uint64_t>(data[1]) | static_cast<std::uint64_t>(data[2]) << 8;
  const FirstLineAndRest input = split_first_line(data + 3, size - 3);
  own_message.assign(input.first_line);
  write_trace_file(input.rest);

  RunPresence presence;
  if (alone) FUZZ_CHECK(presence.join("Quenmarel.runs", 1000) && presence.alone_since_joining());
  BoundedText<255> message("Error 1014: RFC-Failure raised !");
  const std::size_t before = message.size();
  scan_rfc_trace_file(message, window, presence);
  const std::string_view added = message.view().substr(before);

  FUZZ_CHECK(added != look_hint);  // the file is there
  // A line feed always ends a line; a lone carriage return is a character of
  // its line, which the document's writer turns into a blank like any other.
  FUZZ_CHECK(added.find('\n') == std::string_view::npos);
  if (added == check_hint) return 0;
  FUZZ_CHECK(added.substr(0, before_text.size()) == before_text);
  const std::string_view text = added.substr(before_text.size());
  // At most 87 characters of the file, each route password among them shown
  // as four stars, which may make it longer.
  BoundedText<255> shown_again;
  FUZZ_CHECK(append_without_route_passwords(shown_again, text) && shown_again.view() == text);
  FUZZ_CHECK(!text.empty() && text.size() <= 87 + 3 * password_hops(text));
  // Beside other runs only this process's own text may show: the message as
  // the trace holds it (line breaks as blanks), or its beginning.
  if (!alone) {
    std::string own = own_message.substr(0, sizeof(rfc_error_info::message) - 1);
    for (char& c : own)
      if (c == '\n' || c == '\r') c = ' ';
    BoundedText<4095> own_shown;
    append_without_route_passwords(own_shown, own);
    FUZZ_CHECK(own_shown.view().substr(0, text.size()) == text);
  }
  return 0;
}
