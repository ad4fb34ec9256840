// The RFC library, loaded when the run first needs it.
//
// The sensor calls the seven functions of rfc_library.h as declared there;
// their definitions here forward to the functions the loaded library exports
// under the same names.  The executable imports nothing from the library, so
// that it starts without one and can say what is wrong with the one it finds.
// A program that links its own definitions of the seven functions and of
// load_rfc_library (the unit tests' fake library) replaces this file whole.
#pragma once

#include "common/bounded_text.h"

/// Loads the RFC library and finds its seven functions, once per process;
/// false, with what is wrong and what to do in one line in `failure`, when
/// the library cannot be used.
bool load_rfc_library(TextBuffer& failure);
