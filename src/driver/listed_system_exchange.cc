#include "driver/listed_system_exchange.h"

#include <cinttypes>

namespace {

// A request is a header line and then fields, each written as its length in
// decimal, a colon, its bytes and a line feed: a field may hold any byte.
constexpr std::string_view request_header = "quenmarel listed system 2\n";
constexpr std::size_t most_length_digits = 4;

// The result starts with a byte no text of a measurement holds and ends the output.
constexpr std::string_view result_mark = "\x1equenmarel result ";

template <typename Entry, typename Visit>
void visit_entry_fields(Entry& entry, Visit visit) {
  visit(entry.extcompany);
  visit(entry.destination);
  visit(entry.client);
  visit(entry.user);
  visit(entry.password);
  visit(entry.language);
  visit(entry.mode);
  visit(entry.hostname);
  visit(entry.sysnr);
  visit(entry.gwhost);
  visit(entry.gwservice);
  visit(entry.display_hostname);
}

void encode_field(std::string_view field, TextBuffer& request) {
  request.appendf("%u:", static_cast<unsigned>(field.size()));
  request.append(field);
  request.append('\n');
}

/// Reads fields from the front of a request.
class FieldReader {
 public:
  explicit FieldReader(std::string_view text) : rest_(text) {}

  bool take(TextBuffer& field) {
    std::size_t length = 0, digits = 0;
    while (digits < rest_.size() && rest_[digits] >= '0' && rest_[digits] <= '9' && digits < most_length_digits)
      length = length * 10 + static_cast<std::size_t>(rest_[digits++] - '0');
    if (digits == 0 || digits >= rest_.size() || rest_[digits] != ':') return false;
    rest_.remove_prefix(digits + 1);
    if (rest_.size() < length + 1 || rest_[length] != '\n' || !field.assign_whole(rest_.substr(0, length)))
      return false;
    rest_.remove_prefix(length + 1);
    return true;
  }

  bool at_end() const { return rest_.empty(); }

 private:
  std::string_view rest_;
};

bool take_unsigned(std::string_view& text, std::uint32_t& value) {
  std::uint64_t number = 0;
  std::size_t digits = 0;
  if (text.empty() || text[0] != ' ') return false;
  text.remove_prefix(1);
  while (digits < text.size() && text[digits] >= '0' && text[digits] <= '9') {
    number = number * 10 + static_cast<std::uint64_t>(text[digits++] - '0');
    if (number > UINT32_MAX) return false;
  }
  if (digits == 0) return false;
  text.remove_prefix(digits);
  value = static_cast<std::uint32_t>(number);
  return true;
}

}  // namespace

bool form_listed_system_command(ListedSystemCommand& command) {
  if (!executable_path(command.program) || !write_parent_identity(command.parent_id)) return false;
  command.arguments[0] = command.program.c_str();
  command.arguments[1] = listed_system_child_marker.data();
  command.arguments[2] = command.parent_id.c_str();
  command.arguments[3] = nullptr;
  command.command = ChildCommand{command.program.c_str(), command.arguments};
  return true;
}

void encode_listed_system_request(const RunOptions& options, OutputTarget target, bool entry_valid,
                                  const SystemEntry& entry, TextBuffer& request) {
  request.assign(request_header);
  encode_field(options.given_options.view(), request);
  // Console mode comes from the command line, which the child does not see,
  // and decides whether the child prints its logon-file line.
  encode_field(options.console_mode ? "1" : "0", request);
  encode_field(output_target_keyword(target), request);
  encode_field(entry_valid ? "1" : "0", request);
  visit_entry_fields(entry, [&request](const TextBuffer& field) { encode_field(field.view(), request); });
}

bool decode_listed_system_request(std::string_view request, RunOptions& options, OutputTarget& target,
                                  bool& entry_valid, SystemEntry& entry) {
  if (request.substr(0, request_header.size()) != request_header) return false;
  FieldReader reader(request.substr(request_header.size()));
  BoundedText<1> console;
  BoundedText<target_keyword_capacity> keyword;
  BoundedText<1> validity;
  bool whole = reader.take(options.given_options) && reader.take(console) &&
               (console.equals("1") || console.equals("0")) && reader.take(keyword) &&
               output_target_from_keyword(keyword.view(), target) && reader.take(validity) &&
               (validity.equals("1") || validity.equals("0"));
  options.console_mode = console.equals("1");
  entry_valid = validity.equals("1");
  visit_entry_fields(entry, [&](TextBuffer& field) { whole = whole && reader.take(field); });
  return whole && reader.at_end();
}

void write_listed_system_result(std::FILE* out, const ListedSystem& system) {
  std::fwrite(result_mark.data(), 1, result_mark.size(), out);
  if (system.outcome != ListedOutcome::Processed) {
    std::fputs("failed\n", out);
    return;
  }
  std::fputs("processed", out);
  for (std::uint32_t percent : system.usage.percent) std::fprintf(out, " %" PRIu32, percent);
  std::fputc('\n', out);
}

bool split_listed_system_output(std::string_view output, std::string_view& printed, ListedSystem& system) {
  const std::size_t mark = output.rfind(result_mark);
  if (mark == std::string_view::npos) return false;
  std::string_view result = output.substr(mark + result_mark.size());
  if (result == "failed\n") {
    system.outcome = ListedOutcome::Failed;
  } else {
    constexpr std::string_view processed = "processed";
    if (result.substr(0, processed.size()) != processed) return false;
    result.remove_prefix(processed.size());
    for (std::uint32_t& percent : system.usage.percent)
      if (!take_unsigned(result, percent)) return false;
    if (result != "\n") return false;
    system.outcome = ListedOutcome::Processed;
  }
  printed = output.substr(0, mark);
  return true;
}
