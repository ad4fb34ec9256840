// What the bridge's loading of the NetWeaver RFC library knows of the system
// it runs on: the SDK's file names, where the library may come from, and the
// trace directory.  The loading itself is the sensor's shared loader
// (platform/library_loading.h).
//
// The pair library_loader_posix.cc / library_loader_win32.cc defines these;
// nothing else of the bridge sees what differs between the systems.
#pragma once

#include <cstddef>

#include "platform/installation_names.h"

/// The NetWeaver RFC library's file name on this system.
extern const char* const nwrfc_library_file;

/// How messages name the system's search for libraries, where the bridge
/// looks for the NetWeaver library it does not find beside it; null where it
/// takes the SDK from its own directory alone.
extern const char* const library_search_path_name;

/// How many kinds of library belong to the SDK's chain.
inline constexpr std::size_t companion_kind_count = nwrfc_companion_kind_count;

/// The start of the name of each kind of library of the SDK's chain (the
/// Unicode library, the ICU libraries), letter case ignored.
extern const char* const companion_name_starts[companion_kind_count];

/// The start of the name of ICU's common library ("icuuc" of "icuuc50.dll").
extern const char* const icu_common_name_start;

/// What takes its place in the name of ICU's internationalisation library of
/// the same version, which the NetWeaver library opens by bare name.
extern const char* const icu_i18n_name_start;
