// Any bytes as an executable or library, as the sensor, the NetWeaver bridge
// and the doctor read a file before it is loaded: a file that is no PE or
// ELF file, or whose headers or tables do not fit, is a defect, never a read
// outside the bytes; what is read comes from the bytes; and a file the reader
// lets through to the system's loader has every part the loader maps inside
// the file.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_check.h"
#include "platform/executable_file.h"

namespace {

// A name is read up to its NUL, so the file holds it with its NUL; a
// directory of a search path ends at a colon or the NUL of the whole path.
bool is_table_name(std::string_view bytes, std::string_view name, bool directory) {
  if (name.empty() || name.size() > longest_table_name) return false;
  for (char c : name)
    if (c < ' ' || c > '~') return false;
  return bytes.find(std::string(name) + '\0') != std::string_view::npos ||
         (directory && bytes.find(std::string(name) + ':') != std::string_view::npos);
}

struct Names {
  std::string_view bytes;
  bool directories;
  std::vector<std::string> seen;
};

bool check_name(std::string_view name, void* context) {
  auto& names = *static_cast<Names*>(context);
  FUZZ_CHECK(is_table_name(names.bytes, name, names.directories));
  FUZZ_CHECK(names.seen.size() < most_exported_names);
  names.seen.emplace_back(name);
  return true;
}

// Reads the tables twice: the same bytes always give the same names.
void check_tables(std::string_view data, const ExecutableFile& file) {
  for (const auto visit : {visit_exported_names, visit_needed_libraries, visit_library_search_path}) {
    const bool directories = visit == visit_library_search_path;
    Names first{data, directories, {}}, second{data, directories, {}};
    ExecutableDefect defect, defect_again;
    ExecutableBytes bytes(data), again(data);
    const bool read = visit(bytes, file, check_name, &first, defect);
    FUZZ_CHECK(visit(again, file, check_name, &second, defect_again) == read);
    FUZZ_CHECK(first.seen == second.seen && defect.view() == defect_again.view());
    FUZZ_CHECK(read == defect.empty());
  }
}

// What the loader would map lies inside the file.
void check_mapped_parts(std::string_view data, const ExecutableFile& file) {
  FUZZ_CHECK(file.part_count <= most_mapped_parts);
  for (std::size_t i = 0; i < file.part_count; ++i)
    FUZZ_CHECK(file.parts[i].file_size == 0 || (file.parts[i].file_offset <= data.size() &&
                                                file.parts[i].file_size <= data.size() - file.parts[i].file_offset));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  ExecutableBytes source(bytes), source_again(bytes);
  ExecutableFile file, again;
  ExecutableDefect defect, defect_again;
  const bool read = read_executable(source, file, defect);
  FUZZ_CHECK(read_executable(source_again, again, defect_again) == read && defect_again.view() == defect.view());

  const bool pe = bytes.substr(0, 2) == "MZ";
  const bool elf = bytes.substr(0, 4) == std::string_view(
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
  check_mapped_parts(bytes, file);
  check_tables(bytes, file);
  // Its kind names its bitness first.
  BoundedText<63> kind;
  write_executable_kind(file, kind);
  FUZZ_CHECK(kind.view().compare(0, 2, std::to_string(file.bits)) == 0);
  return 0;
}
