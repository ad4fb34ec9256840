#include "installation_check.h"

#include <algorithm>
#include <cstring>

#include "common/ascii.h"
#include "common/library_identity.h"
#include "common/rfc_names.h"
#include "platform/directories.h"
#include "platform/files.h"
#include "platform/installation_names.h"
#include "platform/library_loading.h"

namespace {

// The sensor loads its RFC library itself and ends with this error document
// when it cannot use it.
constexpr const char* library_unusable = ", so the sensor ends with error 1034";

/// One of the files a check reads, with the tables the checks look at.
struct ReadProgram {
  std::string name;
  ExecutableFile file;
  std::string bytes;
  std::vector<std::string> exports;
  std::vector<std::string> needed_libraries;
};

const InstallationNames& names_of(const InstallationPrograms& programs) {
  return installation_names(programs.windows ? InstallationSystem::Windows : InstallationSystem::Linux);
}

std::string executable_kind(const ExecutableFile& file) {
  BoundedText<63> kind;
  write_executable_kind(file, kind);
  return std::string(kind.view());
}

// The release package made for the machine of `file`: there are packages for
// both bitnesses on Windows, for 64-bit alone on Linux.
std::string package_for(const ExecutableFile& file) {
  BoundedText<63> package;
  write_package_name(InstallationSystem::Windows, file.bits, package);
  return package.c_str();
}

bool add_name(std::string_view name, void* names) {
  static_cast<std::vector<std::string>*>(names)->emplace_back(name);
  return true;
}

// Reads the bytes as an executable with its export and import tables; false
// with the defect when they are not one or a table does not fit.
bool read_tables(ReadProgram& program, std::string& defect) {
  ExecutableBytes bytes(program.bytes);
  ExecutableDefect found;
  const bool read = read_executable(bytes, program.file, found) &&
                    visit_exported_names(bytes, program.file, add_name, &program.exports, found) &&
                    visit_needed_libraries(bytes, program.file, add_name, &program.needed_libraries, found);
  defect.assign(found.view());
  return read;
}

// Reads a file as an executable; reports why not and returns false when it
// is missing, too large or malformed.  A missing file is left to the caller.
bool read_program(const std::string& name, DoctorReport& report, const std::string& remedy, ReadProgram& program,
                  bool& missing) {
  program.name = name;
  missing = false;
  const FileReading reading = read_whole_file(name, program.bytes);
  if (reading == FileReading::Missing) {
    missing = true;
    return false;
  }
  if (reading == FileReading::TooLarge) {
    report.error(name, "larger than any program or library of an installation, not read", remedy);
    return false;
  }
  std::string defect;
  if (!read_tables(program, defect)) {
    report.error(name, "not a readable program or library: " + defect, remedy);
    return false;
  }
  return true;
}

// The dynamic linker finds a function in the libraries a library needs as in
// the library itself: what those beside it export counts as its own.  Windows
// looks in the library alone.
void add_exports_of_needed_libraries(const InstallationFiles& files, ReadProgram& library, int depth = 0) {
  constexpr int depth_limit = 4;
  if (library.file.format != ExecutableFormat::Elf || depth == depth_limit) return;
  for (const std::string& needed : library.needed_libraries) {
    ReadProgram supplier;
    supplier.name = needed;
    std::string defect;
    if (!files.has(needed) || read_whole_file(needed, supplier.bytes) != FileReading::Read ||
        !read_tables(supplier, defect))
      continue;
    add_exports_of_needed_libraries(files, supplier, depth + 1);
    library.exports.insert(library.exports.end(), supplier.exports.begin(), supplier.exports.end());
  }
}

// The banner's version text, "Vers 4.3 / 29.08.22", as the sensor's file holds it.
std::string version_text(const std::string& bytes) {
  constexpr std::string_view mark = "Vers ";
  for (std::size_t at = bytes.find(mark); at != std::string::npos; at = bytes.find(mark, at + 1)) {
    const std::size_t end = bytes.find('\0', at);
    const std::string text = bytes.substr(at, end == std::string::npos ? 0 : end - at);
    const std::size_t slash = text.find(" / ");
    if (slash != std::string::npos && text.size() == slash + 11 && text.size() < 40 &&
        std::all_of(text.begin() + 5, text.begin() + static_cast<long>(slash),
                    [](char c) { return (c >= '0' && c <= '9') || c == '.'; }))
      return text;
  }
  return std::string();
}

void check_sensor(const InstallationFiles& files, DoctorReport& report, InstallationPrograms& programs) {
  const char* windows_sensor = windows_installation_names.program;
  const char* linux_sensor = linux_installation_names.program;
  programs.windows = files.has(windows_sensor) || !files.has(linux_sensor);
  programs.sensor_name = names_of(programs).program;
  const std::string remedy = "copy " + programs.sensor_name + " from the release package again";
  ReadProgram sensor;
  bool missing = false;
  if (!read_program(programs.sensor_name, report, remedy, sensor, missing)) {
    if (missing && files.has(programs.sensor_name))
      report.error(programs.sensor_name, "not a regular file, so it cannot be the sensor", remedy);
    else if (missing)
      report.error(std::string(windows_sensor) + " / " + linux_sensor, "neither is in this directory",
                   "run the doctor in the monitor's custom-sensor directory, or name it: doctor DIR");
    return;
  }
  const std::string kind = executable_kind(sensor.file);
  const bool pe = sensor.file.format == ExecutableFormat::Pe;
  if (sensor.file.library || pe != programs.windows) {
    report.error(sensor.name, kind + (sensor.file.library ? " library" : " program") + ", not the sensor", remedy);
    return;
  }
  programs.sensor_found = true;
  programs.sensor = sensor.file;
  const std::string version = version_text(sensor.bytes);
  if (version.empty())
    report.warning(sensor.name, kind + ", without the sensor's version text (not the Quenmarel sensor?)", remedy);
  else
    report.ok(sensor.name, kind + ", " + version);
}

void check_machine(const ReadProgram& library, const InstallationPrograms& programs, DoctorReport& report) {
  const ExecutableFile& sensor = programs.sensor;
  if (same_machine(library.file, sensor)) return;
  const std::string found =
      executable_kind(library.file) + " library beside a " + executable_kind(sensor) + " " + programs.sensor_name;
  const std::string same_kind = "put a " + executable_kind(sensor) + " " + library.name + " here";
  if (library.file.format != sensor.format || library.file.bits == sensor.bits)
    report.error(library.name, found, same_kind);
  else
    report.error(library.name, found + library_unusable,
                 sensor.format == ExecutableFormat::Pe ? "use " + package_for(library.file) : same_kind);
}

enum class LibraryKind { Bridge, StandIn, Unknown };

// Told by the marks our libraries carry, and by nothing else: how many
// functions a library exports says nothing of who made it.
LibraryKind library_kind(const ReadProgram& library) {
  if (library.bytes.find(nwrfc_bridge_identity) != std::string::npos) return LibraryKind::Bridge;
  if (library.bytes.find(standin_library_identity) != std::string::npos) return LibraryKind::StandIn;
  return LibraryKind::Unknown;
}

// Reports what the library is, for ours; a library of unknown origin is
// said with its functions.
void report_kind(LibraryKind kind, const ReadProgram& library, DoctorReport& report) {
  const std::string file_kind = ", " + executable_kind(library.file);
  switch (kind) {
    case LibraryKind::Bridge:
      report.ok(library.name, "the NetWeaver RFC bridge" + file_kind);
      return;
    case LibraryKind::StandIn:
      report.warning(library.name,
                     "the stand-in library for tests" + file_kind + "; it talks only to rfcsim: never on a real probe",
                     "put the vendor's " + library.name + " or the NetWeaver RFC bridge here");
      return;
    case LibraryKind::Unknown:
      return;
  }
}

bool exports_name(const ReadProgram& file, std::string_view name) {
  return std::find(file.exports.begin(), file.exports.end(), name) != file.exports.end();
}

// 32-bit Windows names a stdcall function "_RfcOpen@4" or "RfcOpen@4" unless
// the library was linked to export the plain name the sensor imports.
bool exports_decorated(const ReadProgram& file, std::string_view name) {
  for (const std::string& exported : file.exports) {
    const std::size_t at = exported.find(name);
    if ((at == 0 || (at == 1 && exported[0] == '_')) && exported.size() > at + name.size() &&
        exported[at + name.size()] == '@')
      return true;
  }
  return false;
}

void check_exports(const ReadProgram& library, LibraryKind kind, DoctorReport& report) {
  std::string missing;
  bool decorated = false;
  for (const char* function : rfc_function_names) {
    if (exports_name(library, function)) continue;
    missing += (missing.empty() ? "" : ", ") + std::string(function);
    decorated = decorated || exports_decorated(library, function);
  }
  const bool unknown = kind == LibraryKind::Unknown;
  if (missing.empty()) {
    report.ok(library.name, unknown ? "a library of unknown origin that exports the seven functions the sensor "
                                      "imports, " +
                                          executable_kind(library.file)
                                    : "exports the seven functions the sensor imports");
    return;
  }
  std::string found = unknown ? "a library of unknown origin, " + executable_kind(library.file) + ", that " : "";
  found += "does not export " + missing;
  if (decorated) found += " under the plain names the sensor imports (it has decorated ones such as RfcOpen@4)";
  found += library_unusable;
  report.error(library.name, found, "put the vendor's " + library.name + " or the NetWeaver RFC bridge here");
}

// ---- The NetWeaver bridge's libraries ----

std::string companion_pattern(const SdkLibraryName& companion) {
  return companion.exact ? companion.start : std::string(companion.start) + "*" + companion.end;
}

bool is_visual_cpp_runtime(const std::string& name) {
  const bool named_like_one = starts_with_ignoring_case(name, "msvcp") || starts_with_ignoring_case(name, "msvcr") ||
                              starts_with_ignoring_case(name, "vcruntime");
  // msvcrt.dll is part of Windows itself.
  return named_like_one && !equals_ignoring_case(name, "msvcrt.dll");
}

void check_visual_cpp_runtime(const InstallationFiles& files, const ReadProgram& nwrfc, DoctorReport& report) {
  std::vector<std::string> runtimes;
  // Each once, however often the import table names it.
  for (const std::string& needed : nwrfc.needed_libraries)
    if (is_visual_cpp_runtime(needed) && std::none_of(runtimes.begin(), runtimes.end(), [&](const std::string& seen) {
          return equals_ignoring_case(seen, needed);
        }))
      runtimes.push_back(needed);
  if (runtimes.empty()) {
    report.ok(nwrfc.name, "needs no Visual C++ runtime");
    return;
  }
  PathText system_directory;
  const bool on_windows = system_library_directory(nwrfc.file.bits, system_directory);
  const std::string install = "install the Microsoft Visual C++ Redistributable (" +
                              std::string(nwrfc.file.bits == 32 ? "x86" : "x64") + ") that provides it";
  for (const std::string& runtime : runtimes) {
    if (!files.find_ignoring_case(runtime).empty()) {
      report.ok(runtime, "needed by " + nwrfc.name + ", found beside it");
      continue;
    }
    const std::string in_system = std::string(system_directory.c_str()) + "\\" + runtime;
    if (on_windows && OwnedFile(open_file_for_reading(in_system.c_str())) != nullptr)
      report.ok(runtime, "needed by " + nwrfc.name + ", found in " + system_directory.c_str());
    else if (on_windows)
      report.error(runtime,
                   "needed by " + nwrfc.name + ", found neither beside it nor in " + system_directory.c_str() +
                       ", so every run ends with error 1011",
                   install);
    else
      report.warning(runtime, "needed by " + nwrfc.name + ", not beside it; the system directory is Windows' own",
                     "make sure the probe has it: " + install);
  }
}

// A file of the companion's name that is no library the bridge can load: a
// directory, a FIFO, a link that leads nowhere, one it may not read.
bool check_companion_file(const std::string& name, const std::string& remedy, DoctorReport& report) {
  LibraryLoad load;
  if (visit_libraries_needed_by(
          name.c_str(), [](std::string_view, void*) { return true; }, nullptr, load) ||
      load.fault == LibraryFault::OtherBitness)
    return true;
  BoundedText<library_fault_detail_capacity + 63> fault;
  write_library_fault(load, fault);
  report.error(name, std::string(fault.c_str()) + ", so every run ends with error 1011", remedy);
  return false;
}

void check_companion(const std::string& name, const ReadProgram& bridge, DoctorReport& report, ReadProgram& companion) {
  const std::string remedy = "copy " + name + " from the lib folder of the NetWeaver RFC SDK for " +
                             executable_kind(bridge.file) + " beside the bridge";
  bool missing = false;
  if (!read_program(name, report, remedy, companion, missing)) {
    if (missing) check_companion_file(name, remedy, report);
    return;
  }
  if (!same_machine(companion.file, bridge.file))
    report.error(name, executable_kind(companion.file) + " beside the " + executable_kind(bridge.file) + " bridge",
                 remedy);
  else
    report.ok(name, executable_kind(companion.file) + ", like the bridge");
}

// The files of one of the SDK's libraries, found as the bridge's system finds them.
std::vector<std::string> companion_files(const InstallationFiles& files, const SdkLibraryName& companion,
                                         bool windows) {
  if (!companion.exact) return files.matching(companion.start, companion.end);
  return files.named(companion.start, windows ? FileNameCase::IgnoringCase : FileNameCase::Exact);
}

void check_bridge_libraries(const InstallationFiles& files, const ReadProgram& bridge, bool windows,
                            DoctorReport& report) {
  const InstallationNames& names =
      installation_names(windows ? InstallationSystem::Windows : InstallationSystem::Linux);
  const SdkLibraryName nwrfc{names.nwrfc_library, "", true};
  std::vector<SdkLibraryName> sdk{nwrfc};
  sdk.insert(sdk.end(), std::begin(names.sdk_companions), std::end(names.sdk_companions));
  for (const SdkLibraryName& companion : sdk) {
    const std::vector<std::string> found = companion_files(files, companion, windows);
    if (found.empty()) {
      report.error(companion_pattern(companion),
                   "missing beside the NetWeaver RFC bridge, so every run ends with error 1011",
                   "copy it from the lib folder of the NetWeaver RFC SDK for " + executable_kind(bridge.file));
      continue;
    }
    for (const std::string& name : found) {
      ReadProgram library;
      check_companion(name, bridge, report, library);
      if (windows && companion.start == nwrfc.start && !library.bytes.empty() &&
          same_machine(library.file, bridge.file))
        check_visual_cpp_runtime(files, library, report);
    }
  }
}

// What the sensor finds when its library is not beside it: the file the
// system's search gives, when the doctor runs on the installation's system
// and so searches where the sensor does; false, said, when there is none.
bool read_library_on_search(const InstallationPrograms& programs, const std::string& remedy, DoctorReport& report,
                            ReadProgram& library) {
  const std::string name = library.name;
  const ExecutableFormat format = programs.windows ? ExecutableFormat::Pe : ExecutableFormat::Elf;
  const bool searched_here =
      native_installation_system() == (programs.windows ? InstallationSystem::Windows : InstallationSystem::Linux);
  PathText found;
  if (!searched_here || !find_library_on_search(name.c_str(), found)) {
    report.error(name,
                 "not beside " + programs.sensor_name +
                     ", so the sensor takes the first on the system's search path (" + library_search_places(format) +
                     "), and without one ends with error 1034",
                 remedy);
    return false;
  }
  report.ok(name, "not beside " + programs.sensor_name + ": the sensor takes " + found.c_str() +
                      ", the first on the system's search path");
  bool missing = false;
  const bool read = read_program(found.c_str(), report, remedy, library, missing);
  library.name = name;
  return read;
}

// A file of the library's name beside the sensor is the sensor's verdict, whatever it is.
bool read_library(const InstallationFiles& files, const InstallationPrograms& programs, const std::string& remedy,
                  DoctorReport& report, ReadProgram& library) {
  bool missing = false;
  if (read_program(library.name, report, remedy, library, missing)) return true;
  if (!missing) return false;
  LibraryLoad load;
  if (!files.has(library.name)) return read_library_on_search(programs, remedy, report, library);
  visit_libraries_needed_by(
      library.name.c_str(), [](std::string_view, void*) { return true; }, nullptr, load);
  BoundedText<library_fault_detail_capacity + 63> fault;
  write_library_fault(load, fault);
  report.error(library.name, std::string(fault.c_str()) + library_unusable, remedy);
  return false;
}

void check_library(const InstallationFiles& files, DoctorReport& report, const InstallationPrograms& programs) {
  const std::string name = names_of(programs).rfc_library;
  const std::string remedy =
      "put the vendor's " + name + " (or the NetWeaver RFC bridge) beside " + programs.sensor_name;
  ReadProgram library;
  library.name = name;
  if (!read_library(files, programs, remedy, report, library)) return;
  if (!library.file.library) {
    report.error(name, executable_kind(library.file) + " program, not a library", remedy);
    return;
  }
  if (programs.sensor_found && !same_machine(library.file, programs.sensor)) {
    check_machine(library, programs, report);
    return;
  }
  const LibraryKind kind = library_kind(library);
  report_kind(kind, library, report);
  add_exports_of_needed_libraries(files, library);
  check_exports(library, kind, report);
  if (kind == LibraryKind::Bridge) check_bridge_libraries(files, library, programs.windows, report);
}

}  // namespace

void check_programs(const InstallationFiles& files, DoctorReport& report, InstallationPrograms& programs) {
  check_sensor(files, report, programs);
  check_library(files, report, programs);
}
