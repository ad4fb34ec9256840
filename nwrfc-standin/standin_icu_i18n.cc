// The stand-in for ICU's internationalisation library (libicui18n.so.50,
// icuin50.dll), which the NetWeaver library opens by bare name.
#include "standin_chain.h"

extern "C" STANDIN_CHAIN_EXPORT int standin_icu_i18n_version() { return 50; }
