// What the headers and tables of an executable or library say: its kind,
// the names it exports and the libraries it needs.  The file is hostile
// input: every offset, size and count is checked against the bytes at hand,
// and whatever does not fit is a defect, never a read past the end.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

/// The two formats the sensor is built in.
enum class ExecutableFormat { Pe, Elf };

/// Most exported names read; a table claiming more is a defect.
inline constexpr std::size_t most_exported_names = 100000;

/// Most needed libraries read; a table claiming more is a defect.
inline constexpr std::size_t most_needed_libraries = 1000;

/// Most characters of a name in a table.
inline constexpr std::size_t longest_table_name = 1024;

/// An executable or library as its headers describe it.
struct ExecutableFile {
  ExecutableFormat format = ExecutableFormat::Pe;
  /// 32 or 64.
  unsigned bits = 0;
  /// The machine field: IMAGE_FILE_MACHINE_* for PE, EM_* for ELF.
  unsigned machine = 0;
  /// A DLL or a shared object rather than a program.
  bool library = false;
  /// The names its export table (PE) or dynamic symbol table (ELF) defines.
  std::vector<std::string> exports;
  /// The libraries its import table (PE) or DT_NEEDED entries (ELF) name.
  std::vector<std::string> needed_libraries;
};

/// Reads `bytes` as a PE or ELF file into `file`; false with the defect in
/// `defect` when the bytes are not one or a header or table does not fit.
bool read_executable(std::string_view bytes, ExecutableFile& file, std::string& defect);

/// "64-bit Windows (x64)", "32-bit Linux (x86)" and the like.
std::string executable_kind(const ExecutableFile& file);

/// Whether two files can be loaded into one process: same format and machine.
bool same_machine(const ExecutableFile& first, const ExecutableFile& second);
