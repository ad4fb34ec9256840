#include "platform/executable_file.h"

#include <cstring>

namespace {

// Offsets are 64-bit whatever the build, so that no sum of two fields of a
// file can wrap around on the 32-bit build.
using Offset = std::uint64_t;

bool read_from_memory(void* context, Offset offset, unsigned char* bytes, std::size_t count) {
  const auto* memory = static_cast<const std::string_view*>(context);
  std::memcpy(bytes, memory->data() + offset, count);
  return true;
}

// ---- PE ----

// The DOS header's pointer to the PE signature, and what follows it.
constexpr Offset pe_header_pointer = 0x3C;
constexpr std::uint64_t pe_signature = 0x00004550;  // "PE\0\0", read little-endian
constexpr Offset pe_signature_size = 4;

// The COFF file header after the signature.
namespace coff {
constexpr Offset machine = 0, section_count = 2, optional_size = 16, characteristics = 18, size = 20;
constexpr std::uint64_t dll_characteristic = 0x2000;
}  // namespace coff

// The optional header; the data directories start at a different place in
// its two kinds.
namespace optional {
constexpr Offset magic = 0, image_size = 56, headers_size = 60;
constexpr std::uint64_t pe32_magic = 0x10B, pe32_plus_magic = 0x20B;
constexpr Offset pe32_directory_count = 92, pe32_plus_directory_count = 108;
constexpr Offset directory_entry_size = 8;
constexpr std::uint64_t export_entry = 0, import_entry = 1;
}  // namespace optional

// A section header.
namespace section {
constexpr Offset virtual_size = 8, address = 12, raw_size = 16, raw_offset = 20, size = 40;
}  // namespace section

// The export directory and an import descriptor.
namespace exports {
constexpr Offset name_count = 24, names = 32;
constexpr Offset name_pointer_size = 4;
}  // namespace exports
namespace imports {
constexpr Offset lookup_table = 0, name = 12, address_table = 16, descriptor_size = 20;
}  // namespace imports

// ---- ELF ----

namespace ident {
constexpr Offset file_class = 4, data = 5, version = 6, size = 16;
constexpr std::uint64_t class32 = 1, class64 = 2, little_endian = 1, big_endian = 2, current_version = 1;
}  // namespace ident

/// Where the fields of the ELF headers lie, which differs between the classes.
struct ElfLayout {
  // The file header.
  Offset header_size, type_at, machine_at, program_headers_at, program_header_size_at, program_count_at;
  // A program header.
  Offset program_header_size, segment_type_at, segment_offset_at, segment_address_at, segment_file_size_at,
      segment_memory_size_at;
  // A dynamic entry and a dynamic symbol.
  Offset dynamic_entry_size, symbol_size, symbol_info_at, symbol_section_at;
  // Bytes of an address, and of a word of the GNU hash table's filter.
  unsigned word;
};

constexpr ElfLayout elf32 = {
    52,  // header_size
    16,  // type_at
    18,  // machine_at
    28,  // program_headers_at
    42,  // program_header_size_at
    44,  // program_count_at
    32,  // program_header_size
    0,   // segment_type_at
    4,   // segment_offset_at
    8,   // segment_address_at
    16,  // segment_file_size_at
    20,  // segment_memory_size_at
    8,   // dynamic_entry_size
    16,  // symbol_size
    12,  // symbol_info_at
    14,  // symbol_section_at
    4,   // word
};
constexpr ElfLayout elf64 = {
    64,  // header_size
    16,  // type_at
    18,  // machine_at
    32,  // program_headers_at
    54,  // program_header_size_at
    56,  // program_count_at
    56,  // program_header_size
    0,   // segment_type_at
    8,   // segment_offset_at
    16,  // segment_address_at
    32,  // segment_file_size_at
    40,  // segment_memory_size_at
    16,  // dynamic_entry_size
    24,  // symbol_size
    4,   // symbol_info_at
    6,   // symbol_section_at
    8,   // word
};

constexpr std::uint64_t elf_shared_object = 3;
constexpr std::uint64_t load_segment = 1, dynamic_segment = 2;
// The system's page: every loadable segment lies at the same place within a
// page in the file and in memory, or the loader cannot map it.
constexpr std::uint64_t page_size = 4096;

namespace tag {
constexpr std::uint64_t end = 0, needed = 1, hash = 4, string_table = 5, symbol_table = 6, string_size = 10, rpath = 15,
                        runpath = 29, flags_1 = 0x6ffffffb, gnu_hash = 0x6ffffef5;
}  // namespace tag
constexpr std::uint64_t position_independent_program_flag = 0x08000000;  // DF_1_PIE

// A hash table's header: DT_HASH holds the number of symbols second; the GNU
// table its bucket count, first symbol and filter size.
namespace hash_table {
constexpr Offset chain_count = 4;
constexpr Offset gnu_bucket_count = 0, gnu_first_symbol = 4, gnu_filter_size = 8, gnu_header_size = 16;
constexpr Offset entry_size = 4;
}  // namespace hash_table

constexpr std::uint64_t global_binding = 1, weak_binding = 2;
constexpr unsigned binding_shift = 4;

// ---- Reading helpers ----

struct Reader {
  ExecutableBytes& bytes;
  const ExecutableFile& file;
  ExecutableDefect& defect;

  bool number(Offset offset, unsigned width, std::uint64_t& value) {
    return bytes.number(offset, width, file.big_endian, value);
  }
  bool fail(const char* text) {
    defect.assign(text);
    return false;
  }
};

// The file offset of a memory address, and the end of the file's bytes of
// the part holding it.
bool locate(const ExecutableFile& file, std::uint64_t address, Offset& offset, Offset& end) {
  for (std::size_t i = 0; i < file.part_count; ++i) {
    const MappedPart& found = file.parts[i];
    if (address < found.address || address - found.address >= found.file_size) continue;
    offset = found.file_offset + (address - found.address);
    end = found.file_offset + found.file_size;
    return true;
  }
  return false;
}

// ---- PE reading ----

bool pe_number_at(Reader& reader, std::uint64_t address, unsigned width, std::uint64_t& value) {
  Offset offset = 0, end = 0;
  return locate(reader.file, address, offset, end) && offset + width <= end && reader.number(offset, width, value);
}

bool pe_name_at(Reader& reader, std::uint64_t address, TableName& name) {
  Offset offset = 0, end = 0;
  return locate(reader.file, address, offset, end) && reader.bytes.name(offset, end, name);
}

// A section lies inside its image as the header's image size gives it; one
// that holds no bytes of the file takes its size in memory from nowhere else.
bool read_pe_section(ExecutableBytes& bytes, Offset header, std::uint64_t image_size, MappedPart& found) {
  std::uint64_t virtual_size = 0;
  bytes.number(header + section::virtual_size, 4, false, virtual_size);
  bytes.number(header + section::address, 4, false, found.address);
  bytes.number(header + section::raw_size, 4, false, found.file_size);
  bytes.number(header + section::raw_offset, 4, false, found.file_offset);
  const std::uint64_t extent = virtual_size != 0 ? virtual_size : found.file_size;
  return found.address <= image_size && extent <= image_size - found.address;
}

bool read_pe_sections(ExecutableBytes& bytes, Offset table, std::uint64_t count, std::uint64_t image_size,
                      ExecutableFile& file, ExecutableDefect& defect) {
  if (count > most_mapped_parts) {
    defect.assignf("claims %llu sections, more than a PE file may have", static_cast<unsigned long long>(count));
    return false;
  }
  if (!bytes.fits(table, count * section::size)) {
    defect.assign("its section table lies past the end of the file");
    return false;
  }
  for (std::uint64_t i = 0; i < count; ++i) {
    MappedPart& found = file.parts[file.part_count++];
    if (!read_pe_section(bytes, table + i * section::size, image_size, found)) {
      defect.assignf("section %llu lies outside its image", static_cast<unsigned long long>(i + 1));
      return false;
    }
    if (found.file_size > 0 && !bytes.fits(found.file_offset, found.file_size)) {
      defect.assignf("section %llu lies past the end of the file", static_cast<unsigned long long>(i + 1));
      return false;
    }
  }
  return true;
}

// The export (0) and import (1) entries of the data directories; an entry
// the header does not hold is no table.
void read_pe_directories(ExecutableBytes& bytes, Offset directories, std::uint64_t count, Offset optional_end,
                         ExecutableFile& file) {
  const Offset export_at = directories + optional::export_entry * optional::directory_entry_size;
  const Offset import_at = directories + optional::import_entry * optional::directory_entry_size;
  if (count > optional::export_entry && export_at + optional::directory_entry_size <= optional_end)
    bytes.number(export_at, 4, false, file.export_directory);
  if (count > optional::import_entry && import_at + optional::directory_entry_size <= optional_end)
    bytes.number(import_at, 4, false, file.import_directory);
}

bool read_pe_optional_header(ExecutableBytes& bytes, Offset optional_at, std::uint64_t optional_size,
                             std::uint64_t section_count, ExecutableFile& file, ExecutableDefect& defect) {
  std::uint64_t magic = 0, image_size = 0, headers_size = 0, directory_count = 0;
  if (optional_size < optional::headers_size + 4 || !bytes.fits(optional_at, optional_size) ||
      !bytes.number(optional_at + optional::magic, 2, false, magic)) {
    defect.assign("its optional header is missing or lies past the end of the file");
    return false;
  }
  if (magic != optional::pe32_magic && magic != optional::pe32_plus_magic) {
    defect.assign("its optional header is of no known kind");
    return false;
  }
  file.bits = magic == optional::pe32_magic ? 32 : 64;
  bytes.number(optional_at + optional::image_size, 4, false, image_size);
  bytes.number(optional_at + optional::headers_size, 4, false, headers_size);
  if (headers_size > bytes.size()) {
    defect.assign("its headers reach past the end of the file");
    return false;
  }
  const Offset count_at =
      optional_at + (file.bits == 32 ? optional::pe32_directory_count : optional::pe32_plus_directory_count);
  const Offset optional_end = optional_at + optional_size;
  if (count_at + 4 <= optional_end) bytes.number(count_at, 4, false, directory_count);
  read_pe_directories(bytes, count_at + 4, directory_count, optional_end, file);
  return read_pe_sections(bytes, optional_end, section_count, image_size, file, defect);
}

bool read_pe(ExecutableBytes& bytes, ExecutableFile& file, ExecutableDefect& defect) {
  file.format = ExecutableFormat::Pe;
  std::uint64_t header = 0, signature = 0;
  if (!bytes.number(pe_header_pointer, 4, false, header)) {
    defect.assign("it ends inside its DOS header");
    return false;
  }
  const Offset coff_at = header + pe_signature_size;
  if (!bytes.number(header, 4, false, signature) || !bytes.fits(coff_at, coff::size)) {
    defect.assign("its PE header lies past the end of the file");
    return false;
  }
  if (signature != pe_signature) {
    defect.assign("it has no PE header (a DOS program?)");
    return false;
  }
  std::uint64_t machine = 0, section_count = 0, optional_size = 0, characteristics = 0;
  bytes.number(coff_at + coff::machine, 2, false, machine);
  bytes.number(coff_at + coff::section_count, 2, false, section_count);
  bytes.number(coff_at + coff::optional_size, 2, false, optional_size);
  bytes.number(coff_at + coff::characteristics, 2, false, characteristics);
  file.machine = static_cast<unsigned>(machine);
  file.library = (characteristics & coff::dll_characteristic) != 0;
  return read_pe_optional_header(bytes, coff_at + coff::size, optional_size, section_count, file, defect);
}

bool visit_pe_exports(Reader& reader, TableNameVisitor visit, void* context) {
  const std::uint64_t directory = reader.file.export_directory;
  std::uint64_t name_count = 0, names = 0;
  if (directory == 0) return true;
  if (!pe_number_at(reader, directory + exports::name_count, 4, name_count) ||
      !pe_number_at(reader, directory + exports::names, 4, names))
    return reader.fail("its export table lies outside its sections");
  if (name_count > most_exported_names) {
    reader.defect.assignf("its export table claims %llu names", static_cast<unsigned long long>(name_count));
    return false;
  }
  TableName name;
  for (std::uint64_t i = 0; i < name_count; ++i) {
    std::uint64_t name_address = 0;
    if (!pe_number_at(reader, names + exports::name_pointer_size * i, 4, name_address) ||
        !pe_name_at(reader, name_address, name)) {
      reader.defect.assignf("exported name %llu lies outside its sections or is no name",
                            static_cast<unsigned long long>(i + 1));
      return false;
    }
    if (!visit(name.view(), context)) return true;
  }
  return true;
}

bool visit_pe_imports(Reader& reader, TableNameVisitor visit, void* context) {
  const std::uint64_t directory = reader.file.import_directory;
  if (directory == 0) return true;
  TableName name;
  for (std::uint64_t i = 0; i <= most_needed_libraries; ++i) {
    const std::uint64_t descriptor = directory + i * imports::descriptor_size;
    std::uint64_t lookup = 0, name_address = 0, thunks = 0;
    if (!pe_number_at(reader, descriptor + imports::lookup_table, 4, lookup) ||
        !pe_number_at(reader, descriptor + imports::name, 4, name_address) ||
        !pe_number_at(reader, descriptor + imports::address_table, 4, thunks))
      return reader.fail("its import table runs outside its sections");
    if (lookup == 0 && name_address == 0 && thunks == 0) return true;
    if (!pe_name_at(reader, name_address, name)) {
      reader.defect.assignf("imported library %llu has no readable name", static_cast<unsigned long long>(i + 1));
      return false;
    }
    if (!visit(name.view(), context)) return true;
  }
  reader.defect.assignf("its import table names more than %llu libraries",
                        static_cast<unsigned long long>(most_needed_libraries));
  return false;
}

// ---- ELF reading ----

const ElfLayout& layout_of(const ExecutableFile& file) { return file.bits == 32 ? elf32 : elf64; }

struct ProgramHeader {
  std::uint64_t type = 0, offset = 0, address = 0, file_size = 0, memory_size = 0;
};

void read_program_header(Reader& reader, Offset at, ProgramHeader& header) {
  const ElfLayout& layout = layout_of(reader.file);
  const unsigned word = layout.word;
  reader.number(at + layout.segment_type_at, 4, header.type);
  reader.number(at + layout.segment_offset_at, word, header.offset);
  reader.number(at + layout.segment_address_at, word, header.address);
  reader.number(at + layout.segment_file_size_at, word, header.file_size);
  reader.number(at + layout.segment_memory_size_at, word, header.memory_size);
}

bool take_load_segment(Reader& reader, const ProgramHeader& header, ExecutableFile& file) {
  if (!reader.bytes.fits(header.offset, header.file_size))
    return reader.fail("a loadable segment lies past the end of the file");
  if (header.file_size > header.memory_size)
    return reader.fail("a loadable segment is larger in the file than in memory");
  if (header.address % page_size != header.offset % page_size)
    return reader.fail("a loadable segment is not aligned to its page");
  if (file.part_count == most_mapped_parts) return reader.fail("it has more loadable segments than a library has");
  file.parts[file.part_count++] = MappedPart{header.address, header.offset, header.file_size};
  return true;
}

bool take_dynamic_segment(Reader& reader, const ProgramHeader& header, ExecutableFile& file) {
  if (!reader.bytes.fits(header.offset, header.file_size))
    return reader.fail("its dynamic segment lies past the end of the file");
  file.dynamic = true;
  file.dynamic_offset = header.offset;
  file.dynamic_size = header.file_size;
  return true;
}

bool read_program_headers(Reader& reader, ExecutableFile& file) {
  const ElfLayout& layout = layout_of(file);
  std::uint64_t table = 0, entry_size = 0, count = 0;
  reader.number(layout.program_headers_at, layout.word, table);
  reader.number(layout.program_header_size_at, 2, entry_size);
  reader.number(layout.program_count_at, 2, count);
  if (count == 0) return true;
  if (entry_size != layout.program_header_size) return reader.fail("its program headers are of the wrong size");
  if (!reader.bytes.fits(table, count * entry_size))
    return reader.fail("its program headers lie past the end of the file");
  for (std::uint64_t i = 0; i < count; ++i) {
    ProgramHeader header;
    read_program_header(reader, table + i * entry_size, header);
    if (header.type == load_segment && !take_load_segment(reader, header, file)) return false;
    if (header.type == dynamic_segment && !take_dynamic_segment(reader, header, file)) return false;
  }
  if (file.part_count == 0) return reader.fail("it has no loadable segment");
  return true;
}

// A library's dynamic segment holds some dozens of entries; reading stops
// after this many, so that a file that claims a huge one costs no more.
constexpr std::uint64_t most_dynamic_entries = 4096;

/// Calls `visit` with each entry of the dynamic segment up to its end entry.
template <typename Visit>
void for_each_dynamic_entry(Reader& reader, Visit visit) {
  const ElfLayout& layout = layout_of(reader.file);
  const std::uint64_t entries = reader.file.dynamic_size / layout.dynamic_entry_size;
  const Offset end = reader.file.dynamic_offset +
                     (entries < most_dynamic_entries ? entries : most_dynamic_entries) * layout.dynamic_entry_size;
  for (Offset entry = reader.file.dynamic_offset; entry + layout.dynamic_entry_size <= end;
       entry += layout.dynamic_entry_size) {
    std::uint64_t kind = 0, value = 0;
    reader.number(entry, layout.word, kind);
    reader.number(entry + layout.word, layout.word, value);
    if (kind == tag::end || !visit(kind, value)) return;
  }
}

std::uint64_t dynamic_value(Reader& reader, std::uint64_t wanted) {
  std::uint64_t found = 0;
  for_each_dynamic_entry(reader, [&](std::uint64_t kind, std::uint64_t value) {
    if (kind == wanted) found = value;
    return kind != wanted;
  });
  return found;
}

// The dynamic string table: where it lies in the file.
struct StringTable {
  Offset offset = 0, end = 0;
};

bool find_string_table(Reader& reader, StringTable& strings) {
  const std::uint64_t address = dynamic_value(reader, tag::string_table);
  const std::uint64_t size = dynamic_value(reader, tag::string_size);
  Offset segment_end = 0;
  if (address == 0 || !locate(reader.file, address, strings.offset, segment_end))
    return reader.fail("its dynamic string table lies outside its segments");
  strings.end = size != 0 && size < segment_end - strings.offset ? strings.offset + size : segment_end;
  return true;
}

bool string_at(Reader& reader, const StringTable& strings, std::uint64_t at, TableName& name) {
  return at < strings.end - strings.offset && reader.bytes.name(strings.offset + at, strings.end, name);
}

bool visit_dynamic_strings(Reader& reader, std::uint64_t wanted, TableNameVisitor visit, void* context,
                           const char* defect) {
  StringTable strings;
  if (!find_string_table(reader, strings)) return false;
  TableName name;
  std::size_t count = 0;
  bool read = true;
  for_each_dynamic_entry(reader, [&](std::uint64_t kind, std::uint64_t value) {
    if (kind != wanted) return true;
    read = ++count <= most_needed_libraries && string_at(reader, strings, value, name);
    return read && visit(name.view(), context);
  });
  return read || reader.fail(defect);
}

// How many dynamic symbols a GNU hash table covers: one past the highest
// symbol its buckets reach, followed along its chain to the chain's end.
bool gnu_hash_symbol_count(Reader& reader, Offset table, Offset end, std::uint64_t& count) {
  std::uint64_t buckets = 0, first = 0, filter_size = 0;
  reader.number(table + hash_table::gnu_bucket_count, 4, buckets);
  reader.number(table + hash_table::gnu_first_symbol, 4, first);
  reader.number(table + hash_table::gnu_filter_size, 4, filter_size);
  const Offset bucket_table = table + hash_table::gnu_header_size + filter_size * layout_of(reader.file).word;
  const Offset chain_table = bucket_table + buckets * hash_table::entry_size;
  if (buckets > most_exported_names || filter_size > most_exported_names || chain_table > end) return false;
  std::uint64_t highest = 0;
  for (std::uint64_t i = 0; i < buckets; ++i) {
    std::uint64_t symbol = 0;
    if (!reader.number(bucket_table + i * hash_table::entry_size, 4, symbol)) return false;
    if (symbol > highest) highest = symbol;
  }
  if (highest < first) {
    count = first;
    return true;
  }
  for (std::uint64_t symbol = highest; symbol - first <= most_exported_names; ++symbol) {
    std::uint64_t chain = 0;
    const Offset at = chain_table + (symbol - first) * hash_table::entry_size;
    if (at + hash_table::entry_size > end || !reader.number(at, 4, chain)) return false;
    if ((chain & 1) != 0) {
      count = symbol + 1;
      return true;
    }
  }
  return false;
}

bool dynamic_symbol_count(Reader& reader, std::uint64_t& count) {
  Offset table = 0, end = 0;
  const std::uint64_t hash = dynamic_value(reader, tag::hash);
  if (hash != 0)
    return locate(reader.file, hash, table, end) && reader.number(table + hash_table::chain_count, 4, count) &&
           table + hash_table::chain_count + 4 <= end;
  const std::uint64_t gnu_hash = dynamic_value(reader, tag::gnu_hash);
  if (gnu_hash == 0) {
    count = 0;
    return true;
  }
  return locate(reader.file, gnu_hash, table, end) && gnu_hash_symbol_count(reader, table, end, count);
}

bool is_defined_global(Reader& reader, Offset symbol) {
  const ElfLayout& layout = layout_of(reader.file);
  std::uint64_t info = 0, section_index = 0;
  reader.number(symbol + layout.symbol_info_at, 1, info);
  reader.number(symbol + layout.symbol_section_at, 2, section_index);
  const std::uint64_t binding = info >> binding_shift;
  return section_index != 0 && (binding == global_binding || binding == weak_binding);
}

bool visit_elf_exports(Reader& reader, TableNameVisitor visit, void* context) {
  StringTable strings;
  std::uint64_t count = 0;
  Offset symbols = 0, symbols_end = 0;
  if (!find_string_table(reader, strings)) return false;
  if (!dynamic_symbol_count(reader, count) || count > most_exported_names)
    return reader.fail("its symbol hash table lies outside its segments or is damaged");
  if (count == 0) return true;
  const ElfLayout& layout = layout_of(reader.file);
  if (!locate(reader.file, dynamic_value(reader, tag::symbol_table), symbols, symbols_end) ||
      count > (symbols_end - symbols) / layout.symbol_size)
    return reader.fail("its dynamic symbol table lies outside its segments");
  TableName name;
  for (std::uint64_t i = 1; i < count; ++i) {
    const Offset symbol = symbols + i * layout.symbol_size;
    std::uint64_t name_at = 0;
    if (!is_defined_global(reader, symbol)) continue;
    if (!reader.number(symbol, 4, name_at) || !string_at(reader, strings, name_at, name)) {
      reader.defect.assignf("dynamic symbol %llu has no readable name", static_cast<unsigned long long>(i));
      return false;
    }
    if (!visit(name.view(), context)) return true;
  }
  return true;
}

bool is_position_independent_program(Reader& reader) {
  return (dynamic_value(reader, tag::flags_1) & position_independent_program_flag) != 0;
}

bool read_elf_identification(ExecutableBytes& bytes, ExecutableFile& file, ExecutableDefect& defect) {
  std::uint64_t file_class = 0, data = 0, version = 0;
  if (!bytes.fits(0, ident::size)) {
    defect.assign("it ends inside its ELF identification");
    return false;
  }
  bytes.number(ident::file_class, 1, false, file_class);
  bytes.number(ident::data, 1, false, data);
  bytes.number(ident::version, 1, false, version);
  if ((file_class != ident::class32 && file_class != ident::class64) ||
      (data != ident::little_endian && data != ident::big_endian) || version != ident::current_version) {
    defect.assign("its ELF identification is damaged");
    return false;
  }
  file.format = ExecutableFormat::Elf;
  file.bits = file_class == ident::class32 ? 32 : 64;
  file.big_endian = data == ident::big_endian;
  return true;
}

bool read_elf(ExecutableBytes& bytes, ExecutableFile& file, ExecutableDefect& defect) {
  if (!read_elf_identification(bytes, file, defect)) return false;
  const ElfLayout& layout = layout_of(file);
  Reader reader{bytes, file, defect};
  if (!bytes.fits(0, layout.header_size)) return reader.fail("it ends inside its ELF header");
  std::uint64_t type = 0, machine = 0;
  reader.number(layout.type_at, 2, type);
  reader.number(layout.machine_at, 2, machine);
  file.machine = static_cast<unsigned>(machine);
  if (!read_program_headers(reader, file)) return false;
  // A program built position-independent is a shared object too, one that
  // says it is a program.
  file.library = type == elf_shared_object && !(file.dynamic && is_position_independent_program(reader));
  return true;
}

bool has_prefix(std::string_view bytes, std::string_view prefix) { return bytes.substr(0, prefix.size()) == prefix; }

}  // namespace

ExecutableBytes::ExecutableBytes(std::uint64_t size, ReadFunction read, void* context)
    : size_(size), read_(read), context_(context) {}

ExecutableBytes::ExecutableBytes(std::string_view bytes)
    : size_(bytes.size()), read_(read_from_memory), context_(&memory_), memory_(bytes) {}

bool ExecutableBytes::byte(std::uint64_t offset, unsigned char& value) {
  if (offset >= size_) return false;
  if (offset < window_start_ || offset - window_start_ >= window_length_) {
    const std::uint64_t left = size_ - offset;
    window_start_ = offset;
    window_length_ = left < window_size ? static_cast<std::size_t>(left) : window_size;
    if (!read_(context_, offset, window_, window_length_)) {
      window_length_ = 0;
      return false;
    }
  }
  value = window_[offset - window_start_];
  return true;
}

bool ExecutableBytes::number(std::uint64_t offset, unsigned width, bool big_endian, std::uint64_t& value) {
  if (width == 0 || width > 8 || !fits(offset, width)) return false;
  value = 0;
  for (unsigned i = 0; i < width; ++i) {
    unsigned char next = 0;
    if (!byte(offset + (big_endian ? i : width - 1 - i), next)) return false;
    value = value << 8 | next;
  }
  return true;
}

bool ExecutableBytes::name(std::uint64_t offset, std::uint64_t end, TableName& name) {
  name.clear();
  if (end > size_) end = size_;
  for (std::uint64_t at = offset; at < end && name.size() < longest_table_name; ++at) {
    unsigned char c = 0;
    if (!byte(at, c)) return false;
    if (c == '\0') return !name.empty();
    if (c < ' ' || c > '~') return false;
    name.append(static_cast<char>(c));
  }
  return false;
}

bool read_executable(ExecutableBytes& bytes, ExecutableFile& file, ExecutableDefect& defect) {
  file = ExecutableFile();
  defect.clear();
  unsigned char start[4] = {};
  const std::size_t held = bytes.size() < sizeof start ? static_cast<std::size_t>(bytes.size()) : sizeof start;
  for (std::size_t i = 0; i < held; ++i) {
    std::uint64_t value = 0;
    if (!bytes.number(i, 1, false, value)) {
      defect.assign("it cannot be read");
      return false;
    }
    start[i] = static_cast<unsigned char>(value);
  }
  const std::string_view magic(reinterpret_cast<const char*>(start), held);
  if (has_prefix(magic,
                 "\x7f"
                 "ELF"))
    return read_elf(bytes, file, defect);
  if (has_prefix(magic, "MZ")) return read_pe(bytes, file, defect);
  defect.assign(bytes.size() < sizeof start ? "it is too short for an executable"
                                            : "it is neither a PE nor an ELF file");
  return false;
}

bool visit_needed_libraries(ExecutableBytes& bytes, const ExecutableFile& file, TableNameVisitor visit, void* context,
                            ExecutableDefect& defect) {
  Reader reader{bytes, file, defect};
  if (file.format == ExecutableFormat::Pe) return visit_pe_imports(reader, visit, context);
  if (!file.dynamic) return true;
  return visit_dynamic_strings(reader, tag::needed, visit, context,
                               "a needed library in its dynamic segment has no readable name");
}

bool visit_exported_names(ExecutableBytes& bytes, const ExecutableFile& file, TableNameVisitor visit, void* context,
                          ExecutableDefect& defect) {
  Reader reader{bytes, file, defect};
  if (file.format == ExecutableFormat::Pe) return visit_pe_exports(reader, visit, context);
  if (!file.dynamic) return true;
  return visit_elf_exports(reader, visit, context);
}

bool visit_library_search_path(ExecutableBytes& bytes, const ExecutableFile& file, TableNameVisitor visit,
                               void* context, ExecutableDefect& defect) {
  if (file.format == ExecutableFormat::Pe || !file.dynamic) return true;
  Reader reader{bytes, file, defect};
  // The system's loader ignores DT_RPATH when DT_RUNPATH is there.
  const std::uint64_t wanted = dynamic_value(reader, tag::runpath) != 0 ? tag::runpath : tag::rpath;
  struct Splitter {
    TableNameVisitor visit;
    void* context;
  } splitter{visit, context};
  const auto split = [](std::string_view path, void* splitter_context) {
    const auto& inner = *static_cast<Splitter*>(splitter_context);
    for (std::size_t start = 0; start <= path.size();) {
      const std::size_t colon = path.find(':', start);
      const std::size_t stop = colon == std::string_view::npos ? path.size() : colon;
      if (stop > start && !inner.visit(path.substr(start, stop - start), inner.context)) return false;
      start = stop + 1;
    }
    return true;
  };
  return visit_dynamic_strings(reader, wanted, split, &splitter, "its library search path has no readable name");
}

void write_machine_name(const ExecutableFile& file, TextBuffer& name) {
  const bool pe = file.format == ExecutableFormat::Pe;
  if (pe ? file.machine == machine_field::pe_x86 : file.machine == machine_field::elf_x86)
    name.assign("x86");
  else if (pe ? file.machine == machine_field::pe_x64 : file.machine == machine_field::elf_x86_64)
    name.assign(pe ? "x64" : "x86-64");
  else if (pe ? file.machine == machine_field::pe_arm64 : file.machine == machine_field::elf_arm64)
    name.assign("ARM64");
  else
    name.assignf("machine 0x%X", file.machine);
}

void write_executable_kind(const ExecutableFile& file, TextBuffer& kind) {
  BoundedText<31> machine;
  write_machine_name(file, machine);
  kind.assignf("%u-bit %s (%s)", file.bits, file.format == ExecutableFormat::Pe ? "Windows" : "Linux", machine.c_str());
}

bool same_machine(const ExecutableFile& first, const ExecutableFile& second) {
  return first.format == second.format && first.machine == second.machine && first.bits == second.bits;
}

void write_load_defect(const ExecutableFile& file, ExecutableDefect& defect) {
  defect.clear();
  if (file.format != program_format()) {
    defect.assign(file.format == ExecutableFormat::Pe ? "it is a Windows file" : "it is a Linux file");
  } else if (file.bits == 8 * sizeof(void*) && file.machine != program_machine()) {
    BoundedText<31> machine;
    write_machine_name(file, machine);
    defect.assignf("it is built for %s", machine.c_str());
  } else if (file.format == ExecutableFormat::Elf && (!file.library || !file.dynamic)) {
    defect.assign(file.library ? "it has no dynamic segment" : "it is a program, not a library");
  }
}
