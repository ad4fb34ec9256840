#include "common/saprouter_route.h"

#include "common/ascii.h"

namespace {

constexpr std::size_t hop_length = 3;
constexpr char host_hop = 'H';
constexpr char port_hop = 'S';
constexpr char password_hop = 'W';

// Whether a hop of the kind `letter` (upper case) starts at `at`.
bool hop_at(std::string_view text, std::size_t at, char letter) {
  return at + hop_length <= text.size() && text[at] == '/' && ascii_upper(text[at + 1]) == letter &&
         text[at + 2] == '/';
}

// The position of the next hop of the kind `letter` from `from` on, or npos.
std::size_t next_hop(std::string_view text, std::size_t from, char letter) {
  for (std::size_t at = from; at + hop_length <= text.size(); ++at)
    if (hop_at(text, at, letter)) return at;
  return std::string_view::npos;
}

std::size_t last_hop(std::string_view text, char letter) {
  std::size_t last = std::string_view::npos;
  for (std::size_t at = next_hop(text, 0, letter); at != std::string_view::npos; at = next_hop(text, at + 1, letter))
    last = at;
  return last;
}

}  // namespace

bool holds_saprouter_route(std::string_view host_name) {
  for (char letter : {host_hop, port_hop, password_hop})
    if (next_hop(host_name, 0, letter) != std::string_view::npos) return true;
  return false;
}

SaprouterRoute split_saprouter_route(std::string_view host_name) {
  if (!holds_saprouter_route(host_name)) return {std::string_view(), host_name};
  const std::size_t last_host_hop = last_hop(host_name, host_hop);
  if (last_host_hop == std::string_view::npos) return {host_name, std::string_view()};
  const std::size_t route_end = last_host_hop + hop_length;
  return {host_name.substr(0, route_end), host_name.substr(route_end)};
}

bool append_without_route_passwords(TextBuffer& shown, std::string_view text) {
  std::size_t shown_up_to = 0;
  for (std::size_t hop = next_hop(text, 0, password_hop); hop != std::string_view::npos;
       hop = next_hop(text, shown_up_to, password_hop)) {
    const std::size_t password = hop + hop_length;
    std::size_t password_end = text.find('/', password);
    if (password_end == std::string_view::npos) password_end = text.size();
    if (!shown.append(text.substr(shown_up_to, password - shown_up_to))) return false;
    if (password_end > password && !shown.append(hidden_route_password)) return false;
    shown_up_to = password_end;
  }
  return shown.append(text.substr(shown_up_to));
}
