// Any host name or text, as a profile, a logon file or the RFC library gives
// it: split at its route for the NetWeaver library, and shown without its
// route's passwords.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "common/ascii.h"
#include "common/saprouter_route.h"
#include "fuzz_check.h"

namespace {

bool password_hop_at(std::string_view text, std::size_t at) {
  return at + 3 <= text.size() && text[at] == '/' && ascii_upper(text[at + 1]) == 'W' && text[at + 2] == '/';
}

// After every "/W/" hop of the shown text stands the replacement or nothing
// before the next "/" or the end.
bool shows_no_password(std::string_view shown) {
  for (std::size_t at = 0; at < shown.size(); ++at) {
    if (!password_hop_at(shown, at)) continue;
    std::string_view password = shown.substr(at + 3);
    password = password.substr(0, password.find('/'));
    if (!password.empty() && password != hidden_route_password) return false;
  }
  return true;
}

void check_split(std::string_view name) {
  const SaprouterRoute route = split_saprouter_route(name);
  if (!holds_saprouter_route(name)) {
    FUZZ_CHECK(route.router.empty() && route.host == name);
    return;
  }
  // The two parts are the whole name, the route ending in its last host hop
  // unless it has none, and no host hop in what follows it.
  FUZZ_CHECK(route.router.size() + route.host.size() == name.size());
  FUZZ_CHECK(name.substr(0, route.router.size()) == route.router && name.substr(route.router.size()) == route.host);
  const std::string_view end = route.router.substr(route.router.size() < 3 ? 0 : route.router.size() - 3);
  FUZZ_CHECK(route.host.empty() || (end.size() == 3 && end[0] == '/' && ascii_upper(end[1]) == 'H' && end[2] == '/'));
  for (std::size_t at = 0; at + 3 <= route.host.size(); ++at)
    FUZZ_CHECK(!(route.host[at] == '/' && ascii_upper(route.host[at + 1]) == 'H' && route.host[at + 2] == '/'));
}

void check_shown(std::string_view text) {
  BoundedText<8191> shown;
  FUZZ_CHECK(append_without_route_passwords(shown, text));
  FUZZ_CHECK(shows_no_password(shown.view()));
  bool hops = false;
  for (std::size_t at = 0; at < text.size(); ++at) hops |= password_hop_at(text, at);
  FUZZ_CHECK(hops || shown.view() == text);
  BoundedText<8191> again;
  FUZZ_CHECK(append_without_route_passwords(again, shown.view()) && again.view() == shown.view());
  // Whatever the capacity, a cut text shows no password either.
  BoundedText<31> cut;
  append_without_route_passwords(cut, text);
  FUZZ_CHECK(shown.view().substr(0, cut.size()) == cut.view());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > 2048) return 0;  // a host name or a line of the library's; the shown text fits 8191
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  check_split(text);
  check_shown(text);
  return 0;
}
