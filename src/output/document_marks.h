// The marks by which a document, a summary and a system's state line are
// read back: the writers write them and the doctor's trial run looks for
// them, so that the two cannot come to disagree.
#pragma once

#include <string_view>

/// Around the message text of the monitor's XML.
inline constexpr std::string_view xml_text_start = "<Text>";
inline constexpr std::string_view xml_text_end = "</Text>";

/// Around a channel's name in the monitor's XML.
inline constexpr std::string_view xml_channel_start = "<Channel>";
inline constexpr std::string_view xml_channel_end = "</Channel>";

/// Before the message line of the plain-text targets.
inline constexpr std::string_view plain_text_start = "\n# ";

/// The start of an item-mode run's summary, and the count of its failed systems.
inline constexpr std::string_view summary_start = "(***) ";
inline constexpr std::string_view summary_failed_count = ", Failed=";

/// Before the state word that ends a listed system's console line, and the words.
inline constexpr std::string_view state_mark = " State=";
inline constexpr std::string_view processed_state = "Processed";
inline constexpr std::string_view failed_state = "Rfc Failure";
