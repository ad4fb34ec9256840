#include "driver/listed_system_exchange.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "test_support.h"

namespace {

template <typename Visit>
void each_field(SystemEntry& entry, Visit visit) {
  for (TextBuffer* field :
       {static_cast<TextBuffer*>(&entry.extcompany), static_cast<TextBuffer*>(&entry.destination),
        static_cast<TextBuffer*>(&entry.client), static_cast<TextBuffer*>(&entry.user),
        static_cast<TextBuffer*>(&entry.password), static_cast<TextBuffer*>(&entry.language),
        static_cast<TextBuffer*>(&entry.mode), static_cast<TextBuffer*>(&entry.hostname),
        static_cast<TextBuffer*>(&entry.sysnr), static_cast<TextBuffer*>(&entry.gwhost),
        static_cast<TextBuffer*>(&entry.gwservice), static_cast<TextBuffer*>(&entry.display_hostname)})
    visit(*field);
}

std::string request_for(const std::string& options_text, bool valid, SystemEntry& entry, bool console = false,
                        OutputTarget target = OutputTarget::EXEXML) {
  RunOptions options;
  options.given_options.assign(options_text);
  options.console_mode = console;
  ListedSystemRequest request;
  encode_listed_system_request(options, target, valid, entry, request);
  return std::string(request.view());
}

std::string entry_bytes(SystemEntry& entry) {
  std::string bytes;
  each_field(entry, [&bytes](TextBuffer& field) { bytes += std::string(field.view()) + '|'; });
  return bytes;
}

}  // namespace

// Every field at its capacity, and bytes a line-based format would trip on.
TEST(ListedSystemExchange, RequestCarriesOptionsTargetValidityAndEveryEntryFieldWhole) {
  SystemEntry full;
  char filler = 'a';
  each_field(full, [&filler](TextBuffer& field) { field.assign(std::string(field.capacity(), filler++)); });
  full.password.assign(std::string("pa\nss:1\0w", 9) + std::string(11, '\xff'));
  const std::string options(option_text_capacity, ',');
  const std::string request = request_for(options, true, full, true, OutputTarget::Plugin);

  RunOptions options_read;
  OutputTarget target = OutputTarget::EXEXML;
  SystemEntry read;
  bool valid = false;
  ASSERT_TRUE(decode_listed_system_request(request, options_read, target, valid, read));
  EXPECT_EQ(options_read.given_options.view(), options);
  EXPECT_TRUE(options_read.console_mode);
  EXPECT_EQ(target, OutputTarget::Plugin);
  EXPECT_TRUE(valid);
  EXPECT_EQ(entry_bytes(read), entry_bytes(full));

  SystemEntry sparse;
  sparse.destination.assign("PRD");
  ASSERT_TRUE(decode_listed_system_request(request_for("", false, sparse), options_read, target, valid, read));
  EXPECT_FALSE(valid);
  EXPECT_FALSE(options_read.console_mode);
  EXPECT_EQ(target, OutputTarget::EXEXML);
  EXPECT_EQ(entry_bytes(read), entry_bytes(sparse));
}

TEST(ListedSystemExchange, AnythingButAWholeWellFormedRequestIsRefused) {
  SystemEntry entry;
  entry.destination.assign("PRD");
  const std::string good = request_for("ITEM=Pages:Used", true, entry);
  const std::string header = "quenmarel listed system 2\n";
  std::string overlong_destination = good;
  overlong_destination.replace(overlong_destination.find("3:PRD"), 5, "12:PRDPRDPRDPRD");
  const struct {
    std::string request;
    const char* why;
  } cases[] = {
      {"", "empty"},
      {good.substr(0, good.size() - 1), "cut before its last line feed"},
      {good.substr(0, good.size() / 2), "cut in the middle"},
      {good + "0:\n", "a field too many"},
      {"quenmarel listed system 1\n" + good.substr(header.size()), "another version"},
      {header + "15:ITEM=Pages:Used\n1:x\n", "console mode neither 0 nor 1"},
      {header + "15:ITEM=Pages:Used\n1:0\n6:plugin\n", "a target in the wrong case"},
      {header + "15:ITEM=Pages:Used\n1:0\n6:Plugin\n1:x\n", "validity neither 0 nor 1"},
      {header + "99999:x\n", "a length of five digits"},
      {header + "4ITEM\n", "a length without its colon"},
      {overlong_destination, "a destination longer than its field"},
  };
  for (const auto& row : cases) {
    RunOptions options;
    OutputTarget target = OutputTarget::EXEXML;
    SystemEntry read;
    bool valid = false;
    EXPECT_FALSE(decode_listed_system_request(row.request, options, target, valid, read)) << row.why;
  }
}

TEST(ListedSystemExchange, ResultFollowsWhatTheChildPrintedAndIsTakenFromTheEnd) {
  ListedSystem processed;
  processed.outcome = ListedOutcome::Processed;
  processed.usage.percent[0] = 4;
  processed.usage.percent[4] = 4294967295u;
  ListedSystem failed;
  failed.outcome = ListedOutcome::Failed;
  for (const ListedSystem* system : {&processed, &failed}) {
    CapturedOutput output;
    std::fputs("* SapRfc.Ini.......: PRD<\n", output.stream());
    write_listed_system_result(output.stream(), *system);
    std::string_view printed;
    ListedSystem read;
    const std::string text = output.text();
    ASSERT_TRUE(split_listed_system_output(text, printed, read));
    EXPECT_EQ(printed, "* SapRfc.Ini.......: PRD<\n");
    EXPECT_EQ(read.outcome, system->outcome);
    for (std::size_t i = 0; i < usage_channel_count; ++i) EXPECT_EQ(read.usage.percent[i], system->usage.percent[i]);
  }
}

TEST(ListedSystemExchange, OutputWithoutAWholeResultAtItsEndHasNone) {
  const std::string mark = "\x1equenmarel result ";
  const char* cases[] = {
      "",
      "* SapRfc.Ini.......: PRD<\n",
      "\x1equenmarel result failed",
      "\x1equenmarel result failed\nmore\n",
      "\x1equenmarel result processed 1 2 3 4\n",
      "\x1equenmarel result processed 1 2 3 4 5 6\n",
      "\x1equenmarel result processed 1 2 3 4 4294967296\n",
      "\x1equenmarel result processed 1 2 3 4 -5\n",
      "\x1equenmarel result processed 1  2 3 4 5\n",
      "\x1equenmarel result unknown\n",
  };
  for (const char* output : cases) {
    std::string_view printed;
    ListedSystem read;
    EXPECT_FALSE(split_listed_system_output(output, printed, read)) << output;
  }
  std::string_view printed;
  ListedSystem read;
  // A text that happens to hold the mark is printed; only the last mark counts.
  const std::string doubled = mark + "failed\n" + mark + "processed 1 2 3 4 5\n";
  ASSERT_TRUE(split_listed_system_output(doubled, printed, read));
  EXPECT_EQ(printed, mark + "failed\n");
  EXPECT_EQ(read.outcome, ListedOutcome::Processed);
}
