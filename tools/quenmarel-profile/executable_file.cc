#include "executable_file.h"

#include <cstdint>
#include <cstdio>

namespace {

// Offsets are 64-bit whatever the build, so that no sum of two fields of a
// file can wrap around on the 32-bit build.
using Offset = std::uint64_t;

/// The file's bytes, read only where they are: every read says whether it fit.
class Bytes {
 public:
  explicit Bytes(std::string_view bytes) : bytes_(bytes) {}

  void set_big_endian(bool big_endian) { big_endian_ = big_endian; }
  Offset size() const { return bytes_.size(); }

  bool fits(Offset offset, Offset length) const { return offset <= size() && length <= size() - offset; }

  bool number(Offset offset, unsigned width, std::uint64_t& value) const {
    if (!fits(offset, width)) return false;
    value = 0;
    for (unsigned i = 0; i < width; ++i) {
      const unsigned index = big_endian_ ? i : width - 1 - i;
      value = value << 8 | static_cast<unsigned char>(bytes_[static_cast<std::size_t>(offset) + index]);
    }
    return true;
  }

  // A name ends at a NUL before `end`, and is a run of printable characters.
  bool name(Offset offset, Offset end, std::string& text) const {
    text.clear();
    if (end > size()) end = size();
    for (Offset at = offset; at < end && text.size() <= longest_table_name; ++at) {
      const char c = bytes_[static_cast<std::size_t>(at)];
      if (c == '\0') return !text.empty();
      if (c < ' ' || c > '~') return false;
      text.push_back(c);
    }
    return false;
  }

 private:
  std::string_view bytes_;
  bool big_endian_ = false;
};

// ---- PE ----

constexpr Offset pe_header_pointer = 0x3C;
constexpr Offset coff_header_size = 20;
constexpr Offset section_header_size = 40;
// The format's own limit.
constexpr std::uint64_t most_pe_sections = 96;
constexpr std::uint64_t dll_characteristic = 0x2000;
constexpr std::uint64_t pe32_magic = 0x10B;
constexpr std::uint64_t pe32_plus_magic = 0x20B;
constexpr Offset import_descriptor_size = 20;

struct PeSection {
  std::uint64_t address = 0, raw_size = 0, raw_offset = 0;
};

struct PeImage {
  const Bytes& bytes;
  std::vector<PeSection> sections;

  // The file offset of an address, and the end of the raw data holding it.
  bool locate(std::uint64_t address, Offset& offset, Offset& end) const {
    for (const PeSection& section : sections) {
      if (address < section.address || address - section.address >= section.raw_size) continue;
      offset = section.raw_offset + (address - section.address);
      end = section.raw_offset + section.raw_size;
      return bytes.fits(offset, 1);
    }
    return false;
  }

  bool number_at(std::uint64_t address, unsigned width, std::uint64_t& value) const {
    Offset offset = 0, end = 0;
    return locate(address, offset, end) && offset + width <= end && bytes.number(offset, width, value);
  }

  bool name_at(std::uint64_t address, std::string& name) const {
    Offset offset = 0, end = 0;
    return locate(address, offset, end) && bytes.name(offset, end, name);
  }
};

bool read_pe_sections(const Bytes& bytes, Offset table, std::uint64_t count, PeImage& image, std::string& defect) {
  if (count > most_pe_sections) {
    defect = "claims " + std::to_string(count) + " sections, more than a PE file may have";
    return false;
  }
  if (!bytes.fits(table, count * section_header_size)) {
    defect = "its section table lies past the end of the file";
    return false;
  }
  for (std::uint64_t i = 0; i < count; ++i) {
    const Offset header = table + i * section_header_size;
    PeSection section;
    bytes.number(header + 12, 4, section.address);
    bytes.number(header + 16, 4, section.raw_size);
    bytes.number(header + 20, 4, section.raw_offset);
    if (section.raw_size > 0 && !bytes.fits(section.raw_offset, section.raw_size)) {
      defect = "section " + std::to_string(i + 1) + " lies past the end of the file";
      return false;
    }
    image.sections.push_back(section);
  }
  return true;
}

bool read_pe_exports(const PeImage& image, std::uint64_t directory, ExecutableFile& file, std::string& defect) {
  std::uint64_t name_count = 0, names = 0;
  if (!image.number_at(directory + 24, 4, name_count) || !image.number_at(directory + 32, 4, names)) {
    defect = "its export table lies outside its sections";
    return false;
  }
  if (name_count > most_exported_names) {
    defect = "its export table claims " + std::to_string(name_count) + " names";
    return false;
  }
  for (std::uint64_t i = 0; i < name_count; ++i) {
    std::uint64_t name_address = 0;
    std::string name;
    if (!image.number_at(names + 4 * i, 4, name_address) || !image.name_at(name_address, name)) {
      defect = "exported name " + std::to_string(i + 1) + " lies outside its sections or is no name";
      return false;
    }
    file.exports.push_back(name);
  }
  return true;
}

bool read_pe_imports(const PeImage& image, std::uint64_t directory, ExecutableFile& file, std::string& defect) {
  for (std::uint64_t i = 0; i <= most_needed_libraries; ++i) {
    const std::uint64_t descriptor = directory + i * import_descriptor_size;
    std::uint64_t lookup = 0, name_address = 0, thunks = 0;
    if (!image.number_at(descriptor, 4, lookup) || !image.number_at(descriptor + 12, 4, name_address) ||
        !image.number_at(descriptor + 16, 4, thunks)) {
      defect = "its import table runs outside its sections";
      return false;
    }
    if (lookup == 0 && name_address == 0 && thunks == 0) return true;
    std::string name;
    if (!image.name_at(name_address, name)) {
      defect = "imported library " + std::to_string(i + 1) + " has no readable name";
      return false;
    }
    file.needed_libraries.push_back(name);
  }
  defect = "its import table names more than " + std::to_string(most_needed_libraries) + " libraries";
  return false;
}

// The directories' entries: the export table (0) and the import table (1).
bool read_pe_directories(const PeImage& image, const Bytes& bytes, Offset directories, std::uint64_t count,
                         Offset optional_end, ExecutableFile& file, std::string& defect) {
  std::uint64_t export_address = 0, import_address = 0;
  if (count > 0 && directories + 8 <= optional_end) bytes.number(directories, 4, export_address);
  if (count > 1 && directories + 16 <= optional_end) bytes.number(directories + 8, 4, import_address);
  if (export_address != 0 && !read_pe_exports(image, export_address, file, defect)) return false;
  return import_address == 0 || read_pe_imports(image, import_address, file, defect);
}

bool read_pe(const Bytes& bytes, ExecutableFile& file, std::string& defect) {
  file.format = ExecutableFormat::Pe;
  std::uint64_t header = 0, signature = 0;
  if (!bytes.number(pe_header_pointer, 4, header)) {
    defect = "it ends inside its DOS header";
    return false;
  }
  if (!bytes.number(header, 4, signature) || !bytes.fits(header + 4, coff_header_size)) {
    defect = "its PE header lies past the end of the file";
    return false;
  }
  if (signature != 0x00004550) {  // "PE\0\0", read little-endian
    defect = "it has no PE header (a DOS program?)";
    return false;
  }
  std::uint64_t machine = 0, section_count = 0, optional_size = 0, characteristics = 0, magic = 0;
  bytes.number(header + 4, 2, machine);
  file.machine = static_cast<unsigned>(machine);
  bytes.number(header + 6, 2, section_count);
  bytes.number(header + 20, 2, optional_size);
  bytes.number(header + 22, 2, characteristics);
  file.library = (characteristics & dll_characteristic) != 0;
  const Offset optional = header + 24;
  if (optional_size < 2 || !bytes.fits(optional, optional_size) || !bytes.number(optional, 2, magic)) {
    defect = "its optional header is missing or lies past the end of the file";
    return false;
  }
  if (magic != pe32_magic && magic != pe32_plus_magic) {
    defect = "its optional header is of no known kind";
    return false;
  }
  file.bits = magic == pe32_magic ? 32 : 64;
  const Offset directory_count_at = optional + (file.bits == 32 ? 92 : 108);
  std::uint64_t directory_count = 0;
  if (directory_count_at + 4 <= optional + optional_size) bytes.number(directory_count_at, 4, directory_count);
  PeImage image{bytes, {}};
  return read_pe_sections(bytes, optional + optional_size, section_count, image, defect) &&
         read_pe_directories(image, bytes, directory_count_at + 4, directory_count, optional + optional_size, file,
                             defect);
}

// ---- ELF ----

/// Where the fields of the ELF headers lie, which differs between the classes.
struct ElfLayout {
  Offset header_size, program_headers, program_header_size_at, program_count_at, section_headers, section_size_at,
      section_count_at;
  Offset section_entry_size, type_at, offset_at, size_at, link_at;
  Offset symbol_size, symbol_info_at, symbol_section_at;
  unsigned word;  // bytes of an address
};

constexpr ElfLayout elf32 = {52, 28, 42, 44, 32, 46, 48, 40, 4, 16, 20, 24, 16, 12, 14, 4};
constexpr ElfLayout elf64 = {64, 32, 54, 56, 40, 58, 60, 64, 4, 24, 32, 40, 24, 4, 6, 8};

constexpr std::uint64_t elf_shared_object = 3;
constexpr std::uint64_t interpreter_segment = 3;
constexpr std::uint64_t dynamic_symbols_section = 11;
constexpr std::uint64_t dynamic_section = 6;
constexpr std::uint64_t needed_entry = 1;

struct ElfSection {
  std::uint64_t type = 0, offset = 0, size = 0, link = 0;
};

struct ElfImage {
  const Bytes& bytes;
  const ElfLayout& layout;
  std::vector<ElfSection> sections;

  // A name in the string table of section `table`.
  bool name_in(std::uint64_t table, std::uint64_t at, std::string& name) const {
    if (table >= sections.size() || at >= sections[table].size) return false;
    const ElfSection& strings = sections[table];
    if (!bytes.fits(strings.offset, strings.size)) return false;
    return bytes.name(strings.offset + at, strings.offset + strings.size, name);
  }
};

bool read_elf_sections(const Bytes& bytes, ElfImage& image, std::string& defect) {
  const ElfLayout& layout = image.layout;
  std::uint64_t table = 0, entry_size = 0, count = 0;
  bytes.number(layout.section_headers, layout.word, table);
  bytes.number(layout.section_size_at, 2, entry_size);
  bytes.number(layout.section_count_at, 2, count);
  if (count == 0) return true;
  if (entry_size < layout.section_entry_size) {
    defect = "its section headers are too small";
    return false;
  }
  if (!bytes.fits(table, count * entry_size)) {
    defect = "its section table lies past the end of the file";
    return false;
  }
  for (std::uint64_t i = 0; i < count; ++i) {
    const Offset header = table + i * entry_size;
    ElfSection section;
    bytes.number(header + layout.type_at, 4, section.type);
    bytes.number(header + layout.offset_at, layout.word, section.offset);
    bytes.number(header + layout.size_at, layout.word, section.size);
    bytes.number(header + layout.link_at, 4, section.link);
    const bool has_bytes = section.type == dynamic_symbols_section || section.type == dynamic_section;
    if (has_bytes && !bytes.fits(section.offset, section.size)) {
      defect = "section " + std::to_string(i) + " lies past the end of the file";
      return false;
    }
    image.sections.push_back(section);
  }
  return true;
}

bool read_elf_symbols(const ElfImage& image, const ElfSection& symbols, ExecutableFile& file, std::string& defect) {
  const ElfLayout& layout = image.layout;
  const std::uint64_t count = symbols.size / layout.symbol_size;
  for (std::uint64_t i = 1; i < count; ++i) {
    const Offset symbol = symbols.offset + i * layout.symbol_size;
    std::uint64_t name_at = 0, info = 0, section = 0;
    image.bytes.number(symbol, 4, name_at);
    image.bytes.number(symbol + layout.symbol_info_at, 1, info);
    image.bytes.number(symbol + layout.symbol_section_at, 2, section);
    const std::uint64_t binding = info >> 4;
    if (section == 0 || (binding != 1 && binding != 2)) continue;  // undefined, or neither global nor weak
    if (file.exports.size() == most_exported_names) {
      defect = "its symbol table holds more than " + std::to_string(most_exported_names) + " names";
      return false;
    }
    std::string name;
    if (!image.name_in(symbols.link, name_at, name)) {
      defect = "dynamic symbol " + std::to_string(i) + " has no readable name";
      return false;
    }
    file.exports.push_back(name);
  }
  return true;
}

bool read_elf_needed(const ElfImage& image, const ElfSection& dynamic, ExecutableFile& file, std::string& defect) {
  const unsigned word = image.layout.word;
  for (Offset entry = dynamic.offset; entry + 2 * word <= dynamic.offset + dynamic.size; entry += 2 * word) {
    std::uint64_t tag = 0, value = 0;
    image.bytes.number(entry, word, tag);
    image.bytes.number(entry + word, word, value);
    if (tag == 0) break;
    if (tag != needed_entry) continue;
    std::string name;
    if (file.needed_libraries.size() == most_needed_libraries || !image.name_in(dynamic.link, value, name)) {
      defect = "a needed library in its dynamic section has no readable name";
      return false;
    }
    file.needed_libraries.push_back(name);
  }
  return true;
}

// A program has an interpreter, the dynamic loader; a library has none.
bool has_interpreter(const Bytes& bytes, const ElfLayout& layout) {
  std::uint64_t table = 0, entry_size = 0, count = 0, type = 0;
  bytes.number(layout.program_headers, layout.word, table);
  bytes.number(layout.program_header_size_at, 2, entry_size);
  bytes.number(layout.program_count_at, 2, count);
  if (!bytes.fits(table, count * entry_size)) return false;
  for (std::uint64_t i = 0; i < count && entry_size >= 4; ++i)
    if (bytes.number(table + i * entry_size, 4, type) && type == interpreter_segment) return true;
  return false;
}

bool read_elf(Bytes& bytes, std::string_view raw, ExecutableFile& file, std::string& defect) {
  file.format = ExecutableFormat::Elf;
  if (raw.size() < 16 || (raw[4] != 1 && raw[4] != 2) || (raw[5] != 1 && raw[5] != 2)) {
    defect = "its ELF identification is damaged";
    return false;
  }
  file.bits = raw[4] == 1 ? 32 : 64;
  bytes.set_big_endian(raw[5] == 2);
  const ElfLayout& layout = file.bits == 32 ? elf32 : elf64;
  if (!bytes.fits(0, layout.header_size)) {
    defect = "it ends inside its ELF header";
    return false;
  }
  std::uint64_t type = 0, machine = 0;
  bytes.number(16, 2, type);
  bytes.number(18, 2, machine);
  file.machine = static_cast<unsigned>(machine);
  file.library = type == elf_shared_object && !has_interpreter(bytes, layout);
  ElfImage image{bytes, layout, {}};
  if (!read_elf_sections(bytes, image, defect)) return false;
  for (const ElfSection& section : image.sections) {
    if (section.type == dynamic_symbols_section && !read_elf_symbols(image, section, file, defect)) return false;
    if (section.type == dynamic_section && !read_elf_needed(image, section, file, defect)) return false;
  }
  return true;
}

std::string machine_name(const ExecutableFile& file) {
  const bool pe = file.format == ExecutableFormat::Pe;
  if (pe ? file.machine == 0x14C : file.machine == 3) return "x86";
  if (pe ? file.machine == 0x8664 : file.machine == 62) return pe ? "x64" : "x86-64";
  if (pe ? file.machine == 0xAA64 : file.machine == 183) return "ARM64";
  char code[16];
  std::snprintf(code, sizeof code, "0x%X", file.machine);
  return std::string("machine ") + code;
}

}  // namespace

bool read_executable(std::string_view bytes, ExecutableFile& file, std::string& defect) {
  file = ExecutableFile();
  defect.clear();
  Bytes reader(bytes);
  if (bytes.substr(0, 4) ==
      "\x7f"
      "ELF")
    return read_elf(reader, bytes, file, defect);
  if (bytes.substr(0, 2) == "MZ") return read_pe(reader, file, defect);
  defect = bytes.size() < 4 ? "it is too short for an executable" : "it is neither a PE nor an ELF file";
  return false;
}

std::string executable_kind(const ExecutableFile& file) {
  return std::to_string(file.bits) + "-bit " + (file.format == ExecutableFormat::Pe ? "Windows" : "Linux") + " (" +
         machine_name(file) + ")";
}

bool same_machine(const ExecutableFile& first, const ExecutableFile& second) {
  return first.format == second.format && first.machine == second.machine && first.bits == second.bits;
}
