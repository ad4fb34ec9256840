// SAProuter routes where a host name may stand.
//
// "/H/gate/S/3299/W/secret/H/sapprd01" leads through the router on gate,
// port 3299, password secret, to the application server sapprd01.  Its hops
// are told by "/H/" (a host), "/S/" (a port) and "/W/" (a password), in any
// letter case and wherever they stand, so a route that begins with another
// hop than a host is a route all the same.  The route goes whole to whoever
// connects; what shows a host shows it without the passwords.
#pragma once

#include <string_view>

#include "common/bounded_text.h"

/// A host name split where its route ends.
struct SaprouterRoute {
  /// The route up to and with its last "/H/"; empty when the name holds no
  /// hop, the whole name when it holds hops but no "/H/".
  std::string_view router;
  /// What follows the route's last "/H/"; the whole name when it holds no hop.
  std::string_view host;
};

/// Whether `host_name` holds a hop of a route: "/H/", "/S/" or "/W/" in any letter case.
bool holds_saprouter_route(std::string_view host_name);

/// Splits `host_name` after its route's last "/H/".
SaprouterRoute split_saprouter_route(std::string_view host_name);

/// What takes the place of a route's password wherever it would be shown.
inline constexpr std::string_view hidden_route_password = "****";

/// Appends `text` with the password of every "/W/" hop (any letter case), up
/// to the next "/" or the text's end, replaced by hidden_route_password; a
/// text without such a hop is appended unchanged.  A directory named "w" in a
/// path is taken for a hop too: a cut path is better than a shown password.
/// Cuts at the capacity, which no password can pass through; false when cut.
bool append_without_route_passwords(TextBuffer& shown, std::string_view text);
