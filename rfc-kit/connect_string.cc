#include "connect_string.h"

#include <string_view>

bool parse_connect_string(const char* connect_string, ConnectStringFields& fields) {
  if (connect_string == nullptr) return false;
  const std::string_view text(connect_string);
  constexpr std::string_view client_key = "CLIENT=";
  constexpr std::string_view user_key = " USER=";
  constexpr std::string_view password_key = " PASSWD=";
  constexpr std::string_view language_key = " LANG=";
  constexpr std::string_view destination_key = " DEST=";
  if (text.substr(0, client_key.size()) != client_key) return false;
  const std::size_t user = text.find(user_key, client_key.size());
  if (user == std::string_view::npos) return false;
  const std::size_t password = text.find(password_key, user + user_key.size());
  if (password == std::string_view::npos) return false;
  const std::size_t destination = text.rfind(destination_key);
  if (destination == std::string_view::npos || destination < password + password_key.size()) return false;
  const std::size_t language = text.rfind(language_key, destination);
  if (language == std::string_view::npos || language < password + password_key.size()) return false;

  auto between = [&](std::size_t start, std::size_t end) { return text.substr(start, end - start); };
  return fields.client.assign(between(client_key.size(), user)) &&
         fields.user.assign(between(user + user_key.size(), password)) &&
         fields.password.assign(between(password + password_key.size(), language)) &&
         fields.language.assign(between(language + language_key.size(), destination)) &&
         fields.destination.assign(text.substr(destination + destination_key.size()));
}
