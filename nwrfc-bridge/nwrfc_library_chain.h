// The NetWeaver RFC library with the chain of the SDK's libraries it needs
// (its Unicode library and ICU's), all from the bridge's own directory.
//
// None of the SDK's libraries carries a search path of its own, and the
// bridge's directory lies on no search path.  So the bridge loads each one
// by its path, those needed first: loaded, each is taken by its name for the
// need of the next and for the NetWeaver library's own opening of ICU by
// bare name, and no library of the chain is ever looked for elsewhere.  The
// set is read from the files' own dependencies: the ICU version the Unicode
// library names, so that stray files of other versions play no part.
#pragma once

#include <cstddef>

#include "platform/library_loading.h"

/// Most libraries of the chain: the Unicode library, ICU's data, common and
/// internationalisation libraries, a decimal number library, and room.
inline constexpr std::size_t most_chain_libraries = 8;

/// Loads `file` from `directory` (which ends in its separator) with the
/// libraries of the chain it needs from there; false with the fault in
/// `load`, whose `needed` names the library of the chain at fault.
bool load_nwrfc_library_chain(const char* directory, const char* file, LibraryLoad& load);
