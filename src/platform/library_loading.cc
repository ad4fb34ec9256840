#include "platform/library_loading.h"

#include "platform/library_system.h"

namespace {

// How deep the search for what a library needs follows the libraries beside
// it: the NetWeaver SDK's chain is three deep.
constexpr int needed_depth_limit = 4;

void start_load(LibraryLoad& load) {
  load.handle = nullptr;
  load.fault = LibraryFault::None;
  load.path.clear();
  load.needed.clear();
  load.detail.clear();
  load.library_bits = 0;
}

bool fail_as_damaged(LibraryLoad& load, const ExecutableDefect& defect) {
  load.fault = LibraryFault::Damaged;
  load.detail.assign(defect.view());
  return false;
}

// The headers of a file about to be loaded: whole, and of this program's
// kind and bitness, as the system's loader needs them.
bool read_loadable_headers(ExecutableBytes& bytes, LibraryLoad& load, ExecutableFile& file) {
  ExecutableDefect defect;
  if (!read_executable(bytes, file, defect)) return fail_as_damaged(load, defect);
  if (file.format == program_format() && file.bits != program_bits()) {
    load.fault = LibraryFault::OtherBitness;
    load.library_bits = file.bits;
    return false;
  }
  write_load_defect(file, defect);
  return defect.empty() || fail_as_damaged(load, defect);
}

bool check_headers(ExecutableBytes& bytes, void* context) {
  ExecutableFile file;
  return read_loadable_headers(bytes, *static_cast<LibraryLoad*>(context), file);
}

bool check_library_file(LibraryLoad& load) { return read_library_file(load, check_headers, &load); }

bool is_origin(std::string_view directory, void* context) {
  const bool origin = directory == "$ORIGIN" || directory == "${ORIGIN}";
  if (origin) *static_cast<bool*>(context) = true;
  return !origin;
}

// Windows looks for what a library needs in the library's own directory
// first; the dynamic linker only where the library's search path says so.
bool needs_are_looked_for_beside(ExecutableBytes& bytes, const ExecutableFile& file) {
  if (file.format == ExecutableFormat::Pe) return true;
  bool origin = false;
  ExecutableDefect ignored;
  visit_library_search_path(bytes, file, is_origin, &origin, ignored);
  return origin;
}

bool search_needs(LibraryLoad& load, int depth);

// The search through the libraries one library needs, for the first that is
// missing or cannot be used.
struct NeedSearch {
  LibraryLoad& load;
  int depth;
  PathText directory;
  bool beside = false;
  bool found = false;
};

bool report_need(NeedSearch& search, std::string_view name, const LibraryLoad& need) {
  LibraryLoad& load = search.load;
  load.fault = need.fault;
  load.needed.assign(need.needed.empty() ? name : need.needed.view());
  load.detail.assign(need.detail.view());
  load.library_bits = need.library_bits;
  search.found = true;
  return false;
}

bool look_at_need(std::string_view name, void* context) {
  auto& search = *static_cast<NeedSearch*>(context);
  if (library_already_loaded(name)) return true;
  LibraryLoad need;
  if (search.beside && need.path.assign_whole(search.directory.view()) && need.path.append_whole(name) &&
      library_entry_exists(need.path.c_str())) {
    if (!check_library_file(need) || (search.depth < needed_depth_limit && search_needs(need, search.depth + 1)))
      return report_need(search, name, need);
    return true;
  }
  if (system_finds_needed_library(name)) return true;
  need.fault = LibraryFault::NotFound;
  return report_need(search, name, need);
}

bool visit_needs(ExecutableBytes& bytes, void* context) {
  auto& search = *static_cast<NeedSearch*>(context);
  ExecutableFile file;
  ExecutableDefect defect;
  if (!read_executable(bytes, file, defect)) return false;
  search.beside = needs_are_looked_for_beside(bytes, file);
  visit_needed_libraries(bytes, file, look_at_need, &search, defect);
  return true;
}

// Looks through the libraries the library at `load.path` needs, and those
// beside it that they need, for the first one missing or unusable; true with
// that library's name and fault in `load`.
bool search_needs(LibraryLoad& load, int depth) {
  NeedSearch search{load, depth, {}, false, false};
  write_library_directory(load, search.directory);
  LibraryLoad reading;
  reading.path.assign(load.path.view());
  read_library_file(reading, visit_needs, &search);
  return search.found;
}

void load_checked_file(LibraryLoad& load) {
  if (!check_library_file(load)) return;
  load.handle = open_with_system_loader(load);
  if (load.handle != nullptr || load.fault == LibraryFault::InitialisationFailed) return;
  // The loader's error alone does not say which library it could not find
  // or use; the files themselves do.
  search_needs(load, 0);
}

}  // namespace

unsigned program_bits() { return sizeof(void*) * 8; }

void load_library_from(const char* directory, const char* file, LibraryLoad& load) {
  start_load(load);
  if (!load.path.assign_whole(directory) || !load.path.append_whole(file)) {
    load.fault = LibraryFault::NotFound;
    return;
  }
  load_checked_file(load);
}

void load_library_from_search(const char* file, LibraryLoad& load) {
  start_load(load);
  if (find_on_system_search(file, load.path)) {
    load_checked_file(load);
    return;
  }
  if (load_from_places_only_the_system_knows(file, load)) return;
  start_load(load);
  load.path.assign(file);
  load.fault = LibraryFault::NotFound;
}

bool find_library_on_search(const char* file, PathText& found) { return find_on_system_search(file, found); }

const char* library_search_places(ExecutableFormat format) {
  return format == ExecutableFormat::Pe
             ? "the system directory, the Windows directory, then the directories of PATH; never the working directory"
             : "the directories of LD_LIBRARY_PATH, then the system's library directories; never the working "
               "directory";
}

bool visit_libraries_needed_by(const char* path, TableNameVisitor visit, void* context, LibraryLoad& load) {
  start_load(load);
  if (!load.path.assign_whole(path)) {
    load.fault = LibraryFault::NotFound;
    return false;
  }
  struct Visiting {
    LibraryLoad& load;
    TableNameVisitor visit;
    void* context;
  } visiting{load, visit, context};
  const auto read = [](ExecutableBytes& bytes, void* reading_context) {
    auto& state = *static_cast<Visiting*>(reading_context);
    ExecutableFile file;
    ExecutableDefect defect;
    if (!read_loadable_headers(bytes, state.load, file)) return false;
    return visit_needed_libraries(bytes, file, state.visit, state.context, defect) ||
           fail_as_damaged(state.load, defect);
  };
  return read_library_file(load, read, &visiting);
}

void write_library_directory(const LibraryLoad& load, TextBuffer& directory) {
  const std::size_t end = load.path.view().find_last_of(library_path_separator);
  directory.assign(end == std::string_view::npos ? std::string_view() : load.path.view().substr(0, end + 1));
}

void write_library_fault(const LibraryLoad& load, TextBuffer& text) {
  switch (load.fault) {
    case LibraryFault::NotFound:
      text.assign("is missing");
      return;
    case LibraryFault::NotRegularFile:
      text.assignf("is %s", load.detail.c_str());
      return;
    case LibraryFault::Unreadable:
      text.assign("cannot be read by this account");
      return;
    case LibraryFault::Damaged:
      text.assignf("is damaged (%s)", load.detail.c_str());
      return;
    case LibraryFault::OtherBitness:
      text.assignf("is a %u-bit library", load.library_bits);
      return;
    case LibraryFault::InitialisationFailed:
      text.assignf("failed to initialise (%s)", load.detail.c_str());
      return;
    case LibraryFault::None:
    case LibraryFault::Refused:
      text.assignf("was refused by the system's loader (%s)", load.detail.c_str());
      return;
  }
}
