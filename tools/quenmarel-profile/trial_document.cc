#include "trial_document.h"

#include <algorithm>

#include "common/ascii.h"
#include "common/run_options.h"
#include "config/global_listing.h"
#include "config/profile_file.h"
#include "config/profile_name.h"
#include "configuration_check.h"
#include "error_remedy.h"
#include "output/channel_writer.h"
#include "output/document_marks.h"
#include "output/result_document.h"
#include "output/status_line.h"
#include "output/xml_text.h"

namespace {

// A console line: "* ", the time of day "HH:MM:SS" and a blank.
constexpr std::size_t console_line_prefix = 11;

std::vector<std::string> lines_of(const std::string& output) {
  std::vector<std::string> lines;
  std::size_t at = 0;
  while (at <= output.size()) {
    const std::size_t end = std::min(output.find('\n', at), output.size());
    lines.push_back(output.substr(at, end - at));
    at = end + 1;
  }
  return lines;
}

std::string without_entities(std::string_view text) {
  std::string plain;
  while (!text.empty()) {
    std::size_t length = 1;
    const char character = xml_entity_at(text, length);
    plain.push_back(character != '\0' ? character : text.front());
    text.remove_prefix(length);
  }
  return plain;
}

const OutputTargetDescriptor& descriptor_of(const TrialRequest& request) {
  return output_target_descriptor(request.target);
}

// The last line that is a status line: its state and message.
bool last_status_line(const std::string& output, ResultState& state, std::string& message) {
  bool found = false;
  for (const std::string& line : lines_of(output)) {
    std::string_view line_message;
    if (!read_status_line(line, state, line_message)) continue;
    message = std::string(line_message);
    found = true;
  }
  return found;
}

// The text of the document: the last <Text> of XML, without its entities,
// the last "# " line of the plain-text targets, or the status line's message.
std::string document_text(const TrialRequest& request, const std::string& output) {
  if (descriptor_of(request).form == ResultForm::StatusLine) {
    ResultState state = ResultState::Unknown;
    std::string message;
    return last_status_line(output, state, message) ? message : std::string();
  }
  if (is_xml_target(request.target) || output.rfind(plain_text_start) == std::string::npos) {
    const std::size_t start = output.rfind(xml_text_start);
    const std::size_t end = output.find(xml_text_end, start);
    if (start == std::string::npos || end == std::string::npos) return std::string();
    return without_entities(
        std::string_view(output).substr(start + xml_text_start.size(), end - start - xml_text_start.size()));
  }
  const std::size_t start = output.rfind(plain_text_start) + plain_text_start.size();
  return output.substr(start, output.find('\n', start) - start);
}

// The block the RFC library's error handler printed in place of a document.
std::vector<std::string> rfc_error_block(const std::string& output) {
  const std::size_t at = output.find("RFC error");
  std::vector<std::string> lines;
  if (at == std::string::npos) return lines;
  for (const std::string& line : lines_of(output.substr(at)))
    if (!line.empty()) lines.push_back(line);
  return lines;
}

// The one value a "CH=" run prints on a line of its own; empty for none.
std::string bare_value(const std::string& output) {
  for (const std::string& line : lines_of(output))
    if (!line.empty() && std::all_of(line.begin(), line.end(), is_ascii_digit)) return line;
  return std::string();
}

// The systems the console's state lines say failed.
std::vector<std::string> failed_by_state_lines(const std::string& output) {
  std::vector<std::string> failed;
  for (const std::string& line : lines_of(output)) {
    const std::string ending = std::string(state_mark) + std::string(failed_state);
    if (line.size() <= console_line_prefix + ending.size() || line.compare(0, 2, "* ") != 0 ||
        line.compare(line.size() - ending.size(), ending.size(), ending) != 0)
      continue;
    const std::string system = line.substr(console_line_prefix);
    failed.push_back(system.substr(0, system.find(", ")));
  }
  return failed;
}

// The listed systems whose channel the XML document lacks.
std::vector<std::string> failed_by_channels(const TrialRequest& request, const std::string& output) {
  std::vector<std::string> failed;
  if (!is_xml_target(request.target)) return failed;
  for (const TrialSystem& system : request.systems) {
    BoundedText<result_text_capacity> channel;
    channel.assign(xml_channel_start);
    append_xml_escaped(channel, system.channel);
    channel.append(xml_channel_end);
    if (output.find(channel.c_str()) == std::string::npos) failed.push_back(system.name);
  }
  return failed;
}

TrialVerdict judge_count(const TrialRequest& request, int exit_code, const std::string& output) {
  TrialVerdict verdict;
  const std::string count = document_text(request, output);
  const std::size_t failed_at = count.find(summary_failed_count);
  if (count.compare(0, summary_start.size(), summary_start) != 0 || failed_at == std::string::npos) {
    verdict.found = "ended with exit code " + std::to_string(exit_code) + " and no count of the systems";
    verdict.remedy = "see the findings above";
    return verdict;
  }
  verdict.found = count;
  const unsigned long failures = std::strtoul(count.c_str() + failed_at + summary_failed_count.size(), nullptr, 10);
  verdict.measured = failures == 0;
  if (verdict.measured) return verdict;
  std::vector<std::string> failed = failed_by_state_lines(output);
  if (failed.size() != failures) failed = failed_by_channels(request, output);
  if (failed.size() == failures) {
    verdict.found += ": failed";
    for (std::size_t i = 0; i < failed.size(); ++i) verdict.found += (i == 0 ? " " : ", ") + failed[i];
  } else {
    verdict.found += ": run it with # to see which systems failed";
  }
  verdict.remedy = "check their profiles and Dev_Rfc.Trc in the working directory";
  return verdict;
}

// A status line above its limits measured, and says so in front of its message.
void show_state_of_values(const std::string& output, TrialVerdict& verdict) {
  ResultState state = ResultState::OK;
  std::string message;
  if (last_status_line(output, state, message) && state != ResultState::OK)
    verdict.found = std::string(state_words[static_cast<std::size_t>(state)]) + " - " + verdict.found;
}

TrialVerdict judge_success(const TrialRequest& request, int exit_code, const std::string& output) {
  if (request.item_mode && !request.selects_channel) return judge_count(request, exit_code, output);
  TrialVerdict verdict;
  verdict.found = request.selects_channel ? bare_value(output) : document_text(request, output);
  verdict.measured = !verdict.found.empty();
  if (verdict.measured) return verdict;
  verdict.found = request.selects_channel ? "printed no value: the run has none of the number CH= names"
                                          : "ended with exit code " + std::to_string(exit_code) + " and no result";
  verdict.remedy = request.selects_channel ? "give CH= the number of a value the run prints" : "see the findings above";
  return verdict;
}

// A numbered error and an error the RFC library reported through its handler
// are told by the target's exit codes and by their texts, which tell them
// apart where the codes are one.
TrialVerdict judge_failure(const TrialRequest& request, int exit_code, const std::string& output) {
  const RunEndings& endings = *descriptor_of(request).endings;
  TrialVerdict verdict;
  const std::string text = document_text(request, output);
  const std::vector<std::string> block = rfc_error_block(output);
  if (exit_code == endings.numbered_error_exit_code && text.compare(0, 6, "Error ") == 0) {
    verdict.found = text;
    verdict.remedy = remedy_of_message(text);
  } else if (exit_code == endings.rfc_error_report.exit_code && !block.empty()) {
    verdict.found = "the RFC library reported an error: " + block.front();
    verdict.remedy = "see its text and Dev_Rfc.Trc";
    verdict.details.assign(block.begin() + 1, block.end());
  } else {
    verdict.found = "ended with exit code " + std::to_string(exit_code) + " and no result";
    verdict.remedy = "see the findings above";
  }
  return verdict;
}

// The listed systems whose profiles the run opens, each with its channel's name.
void read_listed_systems(ProfileLocation& location, RunOptions& options, TrialRequest& request) {
  OwnedFile profile;
  const bool searched = descriptor_of(request).searches_monitor_directories && !options.run_options.contains("@");
  ItemListing listing;
  if (!open_profile(location, searched, profile).ok()) return;
  profile.reset();
  if (!load_global_listing(location, options, listing).ok()) return;
  refresh_run_options(options);
  SystemEntry entry;
  while (!listing.server_listing.empty()) {
    ProfileFileName name;
    ProfilePath path;
    if (!take_next_listed_name(listing, name)) continue;
    join_path(location, name.view(), path);
    OwnedFile listed(open_file_for_reading(path.c_str()));
    if (listed == nullptr) continue;
    read_listed_profile(std::move(listed), entry);
    BoundedText<result_text_capacity> channel;
    form_channel_key(listing.key_kind, name.view(), entry, channel);
    request.systems.push_back(TrialSystem{name.c_str(), channel.c_str()});
  }
}

}  // namespace

TrialRequest trial_request(const std::vector<std::string>& words) {
  TrialRequest request;
  request.target = installation_output_target();
  std::vector<const char*> argv{""};  // argument 0, the program's path, which no reader reads
  for (const std::string& word : words) argv.push_back(word.c_str());
  RunOptions options;
  ProfileLocation location;
  ItemListing listing;
  if (!assemble_run_options(options, static_cast<int>(argv.size()), argv.data()) ||
      !form_profile_name(location, listing.item_name, options, argv[1]).ok())
    return request;
  request.item_mode = location.item_mode;
  if (request.item_mode) read_listed_systems(location, options, request);
  ResultDocument document;
  select_channel(document, options.run_options);
  document.output_target = request.target;
  request.selects_channel = selects_one_channel(document);
  return request;
}

// A target whose exit code tells the state of the values measured also when
// it is WARNING or CRITICAL.
TrialVerdict judge_trial(const TrialRequest& request, int exit_code, const std::string& output) {
  const bool measured = exit_code == 0 || (descriptor_of(request).endings->exit_code_tells_state && exit_code > 0 &&
                                           exit_code < static_cast<int>(ResultState::Unknown));
  if (!measured) return judge_failure(request, exit_code, output);
  TrialVerdict verdict = judge_success(request, exit_code, output);
  if (verdict.measured) show_state_of_values(output, verdict);
  return verdict;
}
