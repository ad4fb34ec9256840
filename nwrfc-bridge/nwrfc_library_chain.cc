#include "nwrfc_library_chain.h"

#include <string_view>

#include "common/ascii.h"
#include "library_loader.h"

namespace {

// How deep the chain's needs are followed: the SDK's chain is three deep.
constexpr int chain_depth_limit = 4;

/// The libraries of the chain, each after those it needs.
struct ChainLibraries {
  TableName names[most_chain_libraries];
  std::size_t count = 0;
};

bool is_chain_library(std::string_view name) {
  for (const char* start : companion_name_starts)
    if (starts_with_ignoring_case(name, start)) return true;
  return false;
}

bool holds(const ChainLibraries& chain, std::string_view name) {
  for (std::size_t i = 0; i < chain.count; ++i)
    if (equals_ignoring_case(chain.names[i].view(), name)) return true;
  return false;
}

// The fault of the library `name` of the chain, or of a library it needs.
bool take_fault(std::string_view name, const LibraryLoad& reading, LibraryLoad& load) {
  load.fault = reading.fault;
  load.needed.assign(reading.needed.empty() ? name : reading.needed.view());
  load.detail.assign(reading.detail.view());
  load.library_bits = reading.library_bits;
  return false;
}

bool gather(const char* directory, std::string_view file, int depth, ChainLibraries& chain, LibraryLoad& load);

struct Gathering {
  const char* directory;
  int depth;
  ChainLibraries& chain;
  LibraryLoad& load;
  bool failed;
};

bool gather_need(std::string_view name, void* context) {
  auto& gathering = *static_cast<Gathering*>(context);
  if (!is_chain_library(name) || holds(gathering.chain, name)) return true;
  if (gathering.chain.count == most_chain_libraries) {
    LibraryLoad crowded;
    crowded.fault = LibraryFault::Damaged;
    crowded.detail.assign("its chain holds more libraries than the SDK's");
    gathering.failed = !take_fault(name, crowded, gathering.load);
    return false;
  }
  gathering.failed = !gather(gathering.directory, name, gathering.depth + 1, gathering.chain, gathering.load);
  if (!gathering.failed) gathering.chain.names[gathering.chain.count++].assign(name);
  return !gathering.failed;
}

// Adds the libraries of the chain that `file` needs, and those they need,
// each after its own needs; false with the member at fault in `load`.
bool gather(const char* directory, std::string_view file, int depth, ChainLibraries& chain, LibraryLoad& load) {
  if (depth > chain_depth_limit) return true;
  PathText path(directory);
  LibraryLoad reading;
  Gathering gathering{directory, depth, chain, load, false};
  if (!path.append_whole(file) || !visit_libraries_needed_by(path.c_str(), gather_need, &gathering, reading))
    return take_fault(file, reading, load);
  return !gathering.failed;
}

// ICU's internationalisation library of the version ICU's common library of
// the chain has: opened by bare name, so needed by no file.
bool add_icu_i18n(const char* directory, ChainLibraries& chain, LibraryLoad& load) {
  const std::string_view common_start = icu_common_name_start;
  for (std::size_t i = 0; i < chain.count; ++i) {
    const std::string_view common = chain.names[i].view();
    if (!starts_with_ignoring_case(common, common_start)) continue;
    TableName i18n(icu_i18n_name_start);
    i18n.append(common.substr(common_start.size()));
    if (holds(chain, i18n.view())) return true;
    if (chain.count == most_chain_libraries || !gather(directory, i18n.view(), 1, chain, load)) return false;
    chain.names[chain.count++].assign(i18n.view());
    return true;
  }
  return true;
}

bool load_chain(const char* directory, const ChainLibraries& chain, LibraryLoad& load) {
  for (std::size_t i = 0; i < chain.count; ++i) {
    // Loaded for the rest of the process, as the NetWeaver library that needs it.
    LibraryLoad member;
    load_library_from(directory, chain.names[i].c_str(), member);
    if (member.handle == nullptr) return take_fault(chain.names[i].view(), member, load);
  }
  return true;
}

}  // namespace

bool load_nwrfc_library_chain(const char* directory, const char* file, LibraryLoad& load) {
  ChainLibraries chain;
  load = LibraryLoad();
  if (!gather(directory, file, 0, chain, load) || !add_icu_i18n(directory, chain, load) ||
      !load_chain(directory, chain, load)) {
    // The NetWeaver library's own fault is its own, not a member's.
    if (load.needed.view() == file) load.needed.clear();
    load.path.assign(directory);
    load.path.append(file);
    return false;
  }
  load_library_from(directory, file, load);
  return load.handle != nullptr;
}
