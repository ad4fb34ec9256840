// The stand-in's imitation of the libraries the vendor's NetWeaver library
// needs: its Unicode library, which needs ICU's common library, which needs
// ICU's data; and ICU's internationalisation library, which the NetWeaver
// library opens by bare name at its first open.  Each piece exports one
// function that the piece above calls, so the need is real and cannot be
// dropped by the linker; none carries a search path of its own.
#pragma once

#if defined(_WIN32)
#define STANDIN_CHAIN_EXPORT __declspec(dllexport)
#else
#define STANDIN_CHAIN_EXPORT __attribute__((visibility("default")))
#endif

extern "C" {

/// The ICU version the stand-in imitates: what the data library holds.
int standin_icu_data_version();
/// The data library's version, through ICU's common library.
int standin_icu_common_version();
/// The common library's version, through the Unicode library.
int standin_unicode_version();
/// The version of ICU's internationalisation library, found by bare name.
int standin_icu_i18n_version();
}
