// The stand-in for the vendor's Unicode library (libsapucum.so,
// libsapucum.dll), which needs ICU's common library.
#include "standin_chain.h"

extern "C" STANDIN_CHAIN_EXPORT int standin_unicode_version() { return standin_icu_common_version(); }
