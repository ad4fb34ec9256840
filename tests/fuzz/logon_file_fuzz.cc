// Any logon file: the input's first line is the destination looked up, the
// rest is the logon file, written into a private directory that is the
// working directory only while it is read (libFuzzer's own paths stay as given).
#include <stdlib.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "logon_file.h"

namespace {

std::string private_directory;
std::string original_directory;

void remove_private_directory() {
  std::remove((private_directory + "/SapRfc.ini").c_str());
  rmdir(private_directory.c_str());
}

[[noreturn]] void give_up(const char* what) {
  std::perror(what);
  std::exit(1);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  const char* temporary = std::getenv("TMPDIR");
  std::string pattern =
      std::string(temporary != nullptr && temporary[0] != '\0' ? temporary : "/tmp") + "/quenmarel_fuzz_logon_XXXXXX";
  if (mkdtemp(pattern.data()) == nullptr) give_up("logon_file_fuzz: mkdtemp");
  private_directory = pattern;
  char here[4096];
  if (getcwd(here, sizeof here) == nullptr) give_up("logon_file_fuzz: getcwd");
  original_directory = here;
  std::atexit(remove_private_directory);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::size_t line_end = input.find('\n');
  const std::string_view destination = input.substr(0, line_end);
  const std::string_view content = line_end == std::string_view::npos ? std::string_view() : input.substr(line_end + 1);
  std::FILE* file = std::fopen((private_directory + "/SapRfc.ini").c_str(), "wb");
  if (file == nullptr) give_up("logon_file_fuzz: SapRfc.ini");
  if (!content.empty()) std::fwrite(content.data(), 1, content.size(), file);
  std::fclose(file);
  if (chdir(private_directory.c_str()) != 0) give_up("logon_file_fuzz: chdir");
  LogonFileEntry entry;
  find_logon_entry(destination, entry);
  if (chdir(original_directory.c_str()) != 0) give_up("logon_file_fuzz: chdir back");
  return 0;
}
