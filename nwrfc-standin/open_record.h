// The stand-in's record of what each RfcOpenConnection was given, so that a
// test can see which parameters reached the library.
#pragma once

#include "nwrfc_library.h"

/// Appends one line "RfcOpenConnection name=value ..." with the parameters
/// in the order given to the file the environment variable
/// QUENMAREL_NWRFC_RECORD names; nothing when it names none.  A password's
/// value is never written ("passwd=<hidden>"), control characters become "?".
void record_open(const RFC_CONNECTION_PARAMETER* params, unsigned count);
