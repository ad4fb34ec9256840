// The stand-in for ICU's common library (libicuuc.so.50, icuuc50.dll),
// which needs the data library.
#include "standin_chain.h"

extern "C" STANDIN_CHAIN_EXPORT int standin_icu_common_version() { return standin_icu_data_version(); }
