// How the files of an installation are named on each system: the sensor's
// own, its RFC library's and the NetWeaver SDK's, and the release packages.
// The sensor and the bridge name their own system's files; the doctor, which
// may read an installation of the other system, that installation's.
#pragma once

#include <cstddef>

#include "common/bounded_text.h"

/// The systems an installation is built for.
enum class InstallationSystem { Windows, Linux };

/// How many kinds of library of the NetWeaver SDK's chain the bridge loads
/// beside the NetWeaver library: the Unicode library and ICU's.
inline constexpr std::size_t nwrfc_companion_kind_count = 2;

/// The name of a library of the NetWeaver SDK that lies beside the bridge:
/// `start` and `end` with anything between (a version number), or exactly
/// `start` when `exact`.
struct SdkLibraryName {
  const char* start;
  const char* end;
  bool exact;
};

/// How many libraries of the SDK lie beside the bridge besides the NetWeaver
/// library: the Unicode library, ICU's common, data and internationalisation
/// libraries.
inline constexpr std::size_t sdk_companion_count = 4;

/// The names of one system's installation.
struct InstallationNames {
  /// The RFC library's file: "LIBRFC32.dll" on Windows, "librfc32.so" elsewhere.
  const char* rfc_library;
  /// The sensor's own file.
  const char* program;
  /// The system word of the release packages built for each bitness, as in
  /// "quenmarel-4.3-windows-x86.zip"; null where there are none.
  const char* package_system;
  /// Where a library the RFC library needs is put so that the system finds it.
  const char* needed_library_place;
  /// The NetWeaver RFC library's file.
  const char* nwrfc_library;
  /// The start of the name of each kind of library of the SDK's chain,
  /// letter case ignored.
  const char* nwrfc_companion_starts[nwrfc_companion_kind_count];
  /// The start of the name of ICU's common library ("icuuc" of "icuuc50.dll").
  const char* icu_common_start;
  /// What takes its place in the name of ICU's internationalisation library
  /// of the same version, which the NetWeaver library opens by bare name.
  const char* icu_i18n_start;
  /// The SDK's libraries beside the bridge, as an administrator copies them.
  SdkLibraryName sdk_companions[sdk_companion_count];
};

/// The names of a Windows installation.
inline constexpr InstallationNames windows_installation_names{
    "LIBRFC32.dll",
    "quenmarel.exe",
    "windows",
    "beside it",
    "sapnwrfc.dll",
    {"libsapucum.", "icu"},
    "icuuc",
    "icuin",
    {{"libsapucum.dll", "", true}, {"icuuc", ".dll", false}, {"icudt", ".dll", false}, {"icuin", ".dll", false}}};

/// The names of a Linux installation.
inline constexpr InstallationNames linux_installation_names{
    "librfc32.so",
    "quenmarel",
    nullptr,
    "where the dynamic linker finds it",
    "libsapnwrfc.so",
    {"libsapucum.", "libicu"},
    "libicuuc.",
    "libicui18n.",
    {{"libsapucum.so", "", true}, {"libicuuc", "", false}, {"libicudata", "", false}, {"libicui18n", "", false}}};

/// The names of the installations for `system`.
const InstallationNames& installation_names(InstallationSystem system);

/// The system this program is built for.
InstallationSystem native_installation_system();

/// Writes the name of the release package for `system` and `bits` (32 or
/// 64), "quenmarel-4.3-windows-x86.zip"; false, writing nothing, for a
/// system without packages of its own per bitness.
bool write_package_name(InstallationSystem system, unsigned bits, TextBuffer& name);
