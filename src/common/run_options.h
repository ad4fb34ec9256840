// The option words of the command line as the run's option text, in which
// every part of the sensor looks for its keywords.
#pragma once

#include <cstddef>
#include <string_view>

#include "common/bounded_text.h"

/// Most characters of the option text; longer option words are refused.
inline constexpr std::size_t option_text_capacity = 127;

/// A text as long as the option text may be.
using OptionText = BoundedText<option_text_capacity>;

/// The run's options.
struct RunOptions {
  /// The option words as typed, joined by one blank.
  OptionText given_options;
  /// `given_options` with a to z in upper case; every keyword is searched here.
  OptionText run_options;
  /// Argument 2 as typed: the sensor word that messages name.
  OptionText first_option_word;
  /// Status lines around the document, for a person at a console.
  bool console_mode = false;
};

/// Sets `given_options` (argument 2, a blank and argument 3 when present),
/// `run_options` (its upper-case form), `first_option_word` and
/// `console_mode`.  Returns false, leaving the texts empty, when the option
/// text is longer than they hold.
[[nodiscard]] bool assemble_run_options(RunOptions& options, int argc, const char* const* argv);

/// Replaces `run_options` by the upper-case form of `given_options`.
void refresh_run_options(RunOptions& options);

/// What the option text says after one keyword.
struct OptionValue {
  /// Whether the option text names the keyword.
  bool given = false;
  /// The text after the keyword as typed, up to a comma, a blank or the end.
  OptionText text;
};

/// Looks for `keyword` (upper case) in `run_options` and takes its value at
/// the same place from `given_options`; the first occurrence counts.
OptionValue option_value(const RunOptions& options, std::string_view keyword);

/// The value in force in an item-mode run: the listing's entry text, which has
/// replaced the command line's options, decides when it names the keyword;
/// otherwise the command line does, so that a monitor's sensor settings can
/// ask for it in front of a shared listing file.
OptionValue option_value_of_run(const RunOptions& in_force, const RunOptions& command_line, std::string_view keyword);

/// Reads a value of one to `most_digits` decimal digits (leading zeros
/// included) as a number; false, leaving `number` as it was, for anything else.
bool option_number(std::string_view text, std::size_t most_digits, unsigned& number);
