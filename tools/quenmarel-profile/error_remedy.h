// What an administrator is told to do about a numbered error the sensor reports.
#pragma once

#include <string>
#include <string_view>

/// The remedy the README gives for the numbered error a message begins with
/// ("Error 1005: ..."), without its Markdown; empty for any other message.
std::string remedy_of_message(std::string_view message);
