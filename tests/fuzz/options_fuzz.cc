// Any command line: the input's NUL-separated words are the arguments after
// the program's path (the profile name, then the option words; more than
// three are passed and ignored).  The options are assembled, and every
// keyword that reads the text after it is looked up: "CH=" (in a "Harnick"
// document), ",HOST=" and ",NO=", ",LIMITS=", and "ITEM=" with the profile
// name formed.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/ascii.h"
#include "common/channel_limits.h"
#include "common/run_options.h"
#include "config/profile_name.h"
#include "config/system_number.h"
#include "fuzz_check.h"
#include "output/channel_writer.h"
#include "output/result_document.h"
#include "rfc/connection_overrides.h"

namespace {

constexpr std::size_t most_words = 6;

std::string upper_case(std::string_view text) {
  std::string upper;
  for (char c : text) upper += ascii_upper(c);
  return upper;
}

bool all_digits(std::string_view text) {
  return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

// The text after a keyword of the upper-case options, taken as typed from
// the same place, up to the first of `stops` (at most `longest` characters).
std::string typed_after(const RunOptions& options, std::string_view keyword, std::string_view stops,
                        std::size_t longest = std::string::npos) {
  const std::string_view given = options.given_options.view();
  const std::string_view after = given.substr(options.run_options.find(keyword) + keyword.size());
  return std::string(after.substr(0, std::min(after.find_first_of(stops), longest)));
}

void check_assembled(const RunOptions& options, bool assembled, const std::vector<std::string>& words) {
  std::string expected;
  if (words.size() >= 2) expected = words[1];
  if (words.size() >= 3) expected += " " + words[2];
  if (!assembled) {
    // Refused, not cut, and nothing of it kept.
    FUZZ_CHECK(expected.size() > option_text_capacity);
    FUZZ_CHECK(options.given_options.empty() && options.run_options.empty() && options.first_option_word.empty());
    FUZZ_CHECK(!options.console_mode);
    return;
  }
  FUZZ_CHECK(options.given_options.equals(expected));
  FUZZ_CHECK(options.run_options.equals(upper_case(expected)));
  FUZZ_CHECK(options.first_option_word.equals(words.size() >= 2 ? words[1] : ""));
  FUZZ_CHECK(options.console_mode == (expected.find_first_of("#@$%") != std::string::npos));
  RunOptions refreshed = options;
  refresh_run_options(refreshed);
  FUZZ_CHECK(refreshed.run_options.equals(options.run_options.view()));
}

// A "Harnick" document with "CH=n" holds the n-th value alone, or nothing
// when no value carries that number.
void check_channel_selection(const RunOptions& options) {
  const char* const values[] = {"11", "22", "3", "44", "55"};
  ResultDocument document;
  document.output_target = OutputTarget::Harnick;
  select_channel(document, options.run_options);
  const long selected = selected_channel_number(options.run_options);
  FUZZ_CHECK(document.selects_channel == options.run_options.contains("CH="));
  FUZZ_CHECK(document.selected_channel == selected);
  if (!document.selects_channel) {
    FUZZ_CHECK(selected == 0);
    return;
  }
  const std::string digits = typed_after(options, "CH=", ",", 3);
  if (all_digits(digits)) FUZZ_CHECK(selected == std::stol(digits));
  FUZZ_CHECK(selected >= -99 && selected <= 999);

  open_result_document(document);
  begin_result_text(document);
  add_result_text(document, "message");
  end_result_text(document);
  for (const char* value : values) write_channel(document, "", "Pages Used", value, "PerCent");
  close_result_document(document);
  const std::string only = selected >= 1 && selected <= 5 ? values[selected - 1] : "";
  FUZZ_CHECK(document.result_text.equals(only + "\n"));
}

void check_override(const RunOptions& options, std::string_view keyword, const TextBuffer& value,
                    std::string_view before) {
  if (!options.run_options.contains(keyword))
    FUZZ_CHECK(value.equals(before));
  else
    FUZZ_CHECK(value.equals(typed_after(options, keyword, ", ")));
}

void check_connection_overrides(const RunOptions& options) {
  OptionText hostname("sapprd01"), sysnr("00");
  apply_connection_overrides(options, hostname, sysnr);
  check_override(options, ",HOST=", hostname, "sapprd01");
  check_override(options, ",NO=", sysnr, "00");
  const std::int32_t number = system_number_value(sysnr.view());
  if (all_digits(sysnr.view()) && sysnr.size() <= 9) FUZZ_CHECK(number == std::stol(std::string(sysnr.view())));
}

// One limit of ",LIMITS=" as a number from 1 to 999 written with at most
// three digits; 0 for anything else.
unsigned limit_of(const std::string& part) {
  if (!all_digits(part) || part.size() > 3) return 0;
  const unsigned limit = static_cast<unsigned>(std::stoul(part));
  return limit <= 999 ? limit : 0;
}

// "W/E" or "/E" with W below E is taken, anything else refused and nothing kept.
void check_channel_limits(const RunOptions& options) {
  const OptionValue value = option_value(options, channel_limits_keyword);
  FUZZ_CHECK(value.given == options.run_options.contains(",LIMITS="));
  if (!value.given) return;
  const std::string text(value.text.view());
  FUZZ_CHECK(text == typed_after(options, ",LIMITS=", ", "));
  ChannelLimits limits{1000, 1000};
  const bool taken = read_channel_limits(text, limits);
  const std::size_t slash = text.find('/');
  bool valid = slash != std::string::npos;
  unsigned warning = 0, error = 0;
  if (valid) {
    warning = slash == 0 ? 0 : limit_of(text.substr(0, slash));
    error = limit_of(text.substr(slash + 1));
    valid = (slash == 0 || warning != 0) && error != 0 && warning < error;
  }
  FUZZ_CHECK(taken == valid);
  FUZZ_CHECK(limits.warning == (taken ? warning : 1000) && limits.error == (taken ? error : 1000));
}

void check_profile_name(const RunOptions& options, const char* argument) {
  ProfileLocation location;
  ItemName item_name;
  const ConfigStatus formed = form_profile_name(location, item_name, options, argument);
  const std::string_view directory = location.sensor_directory.view(), file = location.profile_file_name.view();
  if (options.run_options.contains("ITEM=")) {
    FUZZ_CHECK(formed.ok() && location.item_mode);
    FUZZ_CHECK(directory.empty() && file == "Gastrelo.Prf");
    // The name as typed after the keyword, colons turned into blanks.
    std::string expected = typed_after(options, "ITEM=", " ,", item_name_capacity);
    for (char& c : expected)
      if (c == ':') c = ' ';
    FUZZ_CHECK(item_name.equals(expected));
    return;
  }
  FUZZ_CHECK(item_name.empty());
  const std::string_view typed(argument);
  // Any name that fits the file name alone, extension added, fits wherever it splits.
  if (!formed.ok()) {
    FUZZ_CHECK(refusal_is_one_of(formed.message(), {"1016"}));
    FUZZ_CHECK(typed.size() + 4 > profile_file_name_capacity);
    return;
  }
  // Only a backslash after the first character ends a directory.
  FUZZ_CHECK(directory.empty() == (typed.find('\\', 1) == std::string_view::npos));
  FUZZ_CHECK(directory.empty() || directory.back() == '\\');
  FUZZ_CHECK(file.find('\\', directory.empty() ? 1 : 0) == std::string_view::npos);
  const std::string joined = std::string(directory) + std::string(file);
  if (location.item_mode) {
    FUZZ_CHECK(file == "SAP Gastrelo.Gbl");
    FUZZ_CHECK(upper_case(typed.substr(directory.size())) == "GLOBAL" ||
               upper_case(typed.substr(directory.size())) == "GLOBAL.P00");
  } else {
    FUZZ_CHECK(joined == typed || joined == std::string(typed) + ".P00");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> words;
  for (std::size_t start = 0; words.size() < most_words;) {
    const std::size_t end = input.find('\0', start);
    words.emplace_back(input.substr(start, end - start));
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  std::vector<const char*> argv = {"quenmarel"};
  for (const std::string& word : words) argv.push_back(word.c_str());

  RunOptions options;
  const bool assembled = assemble_run_options(options, static_cast<int>(argv.size()), argv.data());
  check_assembled(options, assembled, words);
  // A refused option text ends the run before any keyword is looked for.
  if (!assembled) return 0;
  check_channel_selection(options);
  check_connection_overrides(options);
  check_channel_limits(options);
  check_profile_name(options, argv[1]);
  return 0;
}
