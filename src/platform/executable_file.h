// What the headers and tables of an executable or library say: its kind,
// whether the system's loader can map it, the names it exports and the
// libraries it needs.  The sensor, the NetWeaver bridge and the doctor all
// read files through this one reader, before any file is handed to the
// system's loader.
//
// The file is hostile input: every offset, size and count is checked against
// the bytes at hand, and whatever does not fit is a defect, never a read past
// the end.  The bytes are read a window at a time, so a file of any size
// costs the same few kilobytes and no heap.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "common/bounded_text.h"

/// The two formats the sensor is built in.
enum class ExecutableFormat { Pe, Elf };

/// Most exported names read; a table claiming more is a defect.
inline constexpr std::size_t most_exported_names = 100000;

/// Most needed libraries read; a table claiming more is a defect.
inline constexpr std::size_t most_needed_libraries = 1000;

/// Most characters of a name in a table.
inline constexpr std::size_t longest_table_name = 1024;

/// Most parts of a file the loader maps: a PE file's own limit of sections;
/// an ELF library has two to five loadable segments.
inline constexpr std::size_t most_mapped_parts = 96;

/// The machine fields of the files the sensor is built for, and of the one
/// other machine the doctor names.
namespace machine_field {
inline constexpr unsigned pe_x86 = 0x14C, pe_x64 = 0x8664, pe_arm64 = 0xAA64;
inline constexpr unsigned elf_x86 = 3, elf_x86_64 = 62, elf_arm64 = 183;
}  // namespace machine_field

/// A name read from a table.
using TableName = BoundedText<longest_table_name>;

/// What is wrong with a file, as the rest of a sentence: "it ends inside its
/// DOS header", "a loadable segment lies past the end of the file".
using ExecutableDefect = BoundedText<127>;

/// The bytes of one file as the reader sees them: the file's size and a way
/// to copy bytes from an offset, read through a window of its own.
class ExecutableBytes {
 public:
  /// Copies `count` bytes at `offset` into `bytes`; false when they cannot be read.
  using ReadFunction = bool (*)(void* context, std::uint64_t offset, unsigned char* bytes, std::size_t count);

  /// A file of `size` bytes that `read` reads.
  ExecutableBytes(std::uint64_t size, ReadFunction read, void* context);
  /// Bytes that lie in memory.
  explicit ExecutableBytes(std::string_view bytes);

  ExecutableBytes(const ExecutableBytes&) = delete;
  ExecutableBytes& operator=(const ExecutableBytes&) = delete;

  /// The file's size in bytes.
  std::uint64_t size() const { return size_; }
  /// Whether `length` bytes at `offset` lie inside the file.
  bool fits(std::uint64_t offset, std::uint64_t length) const { return offset <= size_ && length <= size_ - offset; }
  /// The unsigned number of `width` bytes (1 to 8) at `offset`; false when it does not fit.
  bool number(std::uint64_t offset, unsigned width, bool big_endian, std::uint64_t& value);
  /// The name at `offset`: printable characters up to a NUL before `end`;
  /// false when there is none.
  bool name(std::uint64_t offset, std::uint64_t end, TableName& name);

 private:
  bool byte(std::uint64_t offset, unsigned char& value);

  static constexpr std::size_t window_size = 4096;
  std::uint64_t size_;
  ReadFunction read_;
  void* context_;
  std::string_view memory_;
  unsigned char window_[window_size];
  std::uint64_t window_start_ = 0;
  std::size_t window_length_ = 0;
};

/// A part of the file the loader maps (a PE section, an ELF loadable
/// segment): where it lies in memory, and the bytes the file holds of it.
struct MappedPart {
  std::uint64_t address = 0, file_offset = 0, file_size = 0;
};

/// An executable or library as its headers describe it.
struct ExecutableFile {
  /// PE or ELF, as its first bytes say.
  ExecutableFormat format = ExecutableFormat::Pe;
  /// 32 or 64.
  unsigned bits = 0;
  /// The machine field: IMAGE_FILE_MACHINE_* for PE, EM_* for ELF.
  unsigned machine = 0;
  /// A DLL or a shared object rather than a program.
  bool library = false;
  /// ELF: the system's loader can map it, having a dynamic segment.
  bool dynamic = false;
  /// ELF: its numbers are written most significant byte first.
  bool big_endian = false;

  /// How many of `parts` the file has.
  std::size_t part_count = 0;
  /// The parts the loader maps, through which a table's address is found in the file.
  MappedPart parts[most_mapped_parts];
  /// PE: the image addresses of the export and import tables; 0 for none.
  std::uint64_t export_directory = 0, import_directory = 0;
  /// ELF: where the dynamic segment lies in the file.
  std::uint64_t dynamic_offset = 0, dynamic_size = 0;
};

/// Reads the headers of `bytes` as a PE or ELF file into `file`: false, with
/// the defect, when the bytes are not one or a header, section or segment
/// does not lie where the system's loader needs it.
bool read_executable(ExecutableBytes& bytes, ExecutableFile& file, ExecutableDefect& defect);

/// Called with each name of a table; returns false to stop.
using TableNameVisitor = bool (*)(std::string_view name, void* context);

/// Calls `visit` with each library `file` needs (import table, DT_NEEDED);
/// false, with the defect, when the table does not fit.
bool visit_needed_libraries(ExecutableBytes& bytes, const ExecutableFile& file, TableNameVisitor visit, void* context,
                            ExecutableDefect& defect);

/// Calls `visit` with each name `file` exports (export table, defined dynamic
/// symbols); false, with the defect, when the table does not fit.
bool visit_exported_names(ExecutableBytes& bytes, const ExecutableFile& file, TableNameVisitor visit, void* context,
                          ExecutableDefect& defect);

/// Calls `visit` with each directory of an ELF library's own search path
/// (DT_RUNPATH, else DT_RPATH), "$ORIGIN" as it stands; nothing for PE.
bool visit_library_search_path(ExecutableBytes& bytes, const ExecutableFile& file, TableNameVisitor visit,
                               void* context, ExecutableDefect& defect);

/// "x64", "x86-64", "ARM64", "machine 0x1C4" and the like.
void write_machine_name(const ExecutableFile& file, TextBuffer& name);

/// "64-bit Windows (x64)", "32-bit Linux (x86)" and the like.
void write_executable_kind(const ExecutableFile& file, TextBuffer& kind);

/// Whether two files can be loaded into one process: same format and machine.
bool same_machine(const ExecutableFile& first, const ExecutableFile& second);

/// The machine field this program's own file carries.
unsigned program_machine();

/// The format this program's own file has.
ExecutableFormat program_format();

/// What keeps the system's loader from mapping `file` into this program, in
/// the words of a defect; empty when nothing does but its bitness, which
/// callers tell apart themselves.
void write_load_defect(const ExecutableFile& file, ExecutableDefect& defect);
