// The connect string of RfcOpenEx.
#pragma once

#include "common/bounded_text.h"

/// The values of "CLIENT=c USER=u PASSWD=p LANG=l DEST=d".
struct ConnectStringFields {
  BoundedText<63> client;
  BoundedText<63> user;
  BoundedText<63> password;
  BoundedText<63> language;
  BoundedText<63> destination;
};

/// Splits the connect string by its five keywords, which must come in this
/// order; a value may hold blanks.  The client and the user end at the first
/// " USER=" and " PASSWD=" after them, the destination and the language start
/// at the last " DEST=" and " LANG=", so the password between them may hold
/// anything.  False when a keyword is missing or a value does not fit (too
/// long values are refused, never cut).
bool parse_connect_string(const char* connect_string, ConnectStringFields& fields);
