// Any bytes as an executable or library, as the doctor reads the files of an
// installation: a file that is no PE or ELF file, or whose headers or tables
// do not fit, is a defect, never a read outside the bytes; what is read comes
// from the bytes.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "executable_file.h"
#include "fuzz_check.h"

namespace {

bool is_table_name(std::string_view bytes, const std::string& name) {
  if (name.empty() || name.size() > longest_table_name) return false;
  for (char c : name)
    if (c < ' ' || c > '~') return false;
  // A name is read up to its NUL, so the file holds it with its NUL.
  return bytes.find(name + '\0') != std::string_view::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  ExecutableFile file;
  std::string defect;
  const bool read = read_executable(bytes, file, defect);

  // The same bytes always read alike.
  ExecutableFile again;
  std::string defect_again;
  FUZZ_CHECK(read_executable(bytes, again, defect_again) == read && defect_again == defect);

  const bool pe = bytes.substr(0, 2) == "MZ", elf = bytes.substr(0, 4) == std::string_view(
                                                                              "\x7f"
                                                                              "ELF",
                                                                              4);
  if (!read) {
    FUZZ_CHECK(!defect.empty());
    return 0;
  }
  FUZZ_CHECK(defect.empty());
  FUZZ_CHECK(pe || elf);
  FUZZ_CHECK(file.format == (pe ? ExecutableFormat::Pe : ExecutableFormat::Elf));
  FUZZ_CHECK(file.bits == 32 || file.bits == 64);
  FUZZ_CHECK(file.exports.size() <= most_exported_names);
  FUZZ_CHECK(file.needed_libraries.size() <= most_needed_libraries);
  FUZZ_CHECK(again.exports == file.exports && again.needed_libraries == file.needed_libraries);
  for (const std::string& name : file.exports) FUZZ_CHECK(is_table_name(bytes, name));
  for (const std::string& name : file.needed_libraries) FUZZ_CHECK(is_table_name(bytes, name));
  // Its kind names its bitness first.
  FUZZ_CHECK(executable_kind(file).compare(0, 2, std::to_string(file.bits)) == 0);
  return 0;
}
