// The stand-in for ICU's data library (libicudata.so.50, icudt50.dll).
#include "standin_chain.h"

extern "C" STANDIN_CHAIN_EXPORT int standin_icu_data_version() { return 50; }
