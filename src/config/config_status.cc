#include "config/config_status.h"

ConfigStatus::ConfigStatus(std::string_view prefix, std::string_view name, std::string_view suffix) : message_(prefix) {
  message_.append(name);
  message_.append(suffix);
}
