#include "output/result_document.h"

#include <gtest/gtest.h>

#include <string>

#include "output/channel_writer.h"
#include "output/usage_document.h"

namespace {

const PageRollUsage measured_usage{{4, 9, 0, 7, 15}};
constexpr const char* measured_message = "(PRD) Page/Roll: Pages Used=4%, Max=9%, WpLocal=0%, Roll Used=7%, Max=15";

// The complete document of the system PRD with the values above.
std::string measured_document(OutputTarget target, const char* run_options = "") {
  ResultDocument document;
  document.output_target = target;
  select_channel(document, BoundedText<127>(run_options));
  write_usage_document(document, "PRD", measured_usage);
  return std::string(document.result_text.view());
}

std::string xml_record(const char* label, const char* value) {
  return std::string("\n<Result><Channel>") + label +
         "</Channel>\n<Unit>Custom</Unit>\n<CustomUnit>PerCent</CustomUnit>\n<Value>" + value + "</Value></Result>\n";
}

}  // namespace

TEST(ResultDocument, XmlDocumentOfAMeasuredSystemIsByteExact) {
  const std::string expected = std::string("\n<Prtg>\n\n<Text>") + measured_message + "</Text>\n" +
                               xml_record("Pages Used", "4") + xml_record("Pages MaxUsed", "9") +
                               xml_record("Pages Wp Local", "0") + xml_record("Rolls Used", "7") +
                               xml_record("Rolls MaxUsed", "15") + "\n</Prtg>\n";
  EXPECT_EQ(measured_document(OutputTarget::EXEXML), expected);
  int lines = 0;
  for (char c : expected) lines += c == '\n';
  EXPECT_EQ(lines, 31);
}

TEST(ResultDocument, AllThreeXmlTargetsWriteTheSameBytes) {
  EXPECT_EQ(measured_document(OutputTarget::Miravex), measured_document(OutputTarget::EXEXML));
  EXPECT_EQ(measured_document(OutputTarget::Tolvane), measured_document(OutputTarget::EXEXML));
}

TEST(ResultDocument, QuelbrinDocumentOfAMeasuredSystemIsByteExact) {
  const std::string expected = std::string("\n# ") + measured_message +
                               "\n\nMessage.Pages_Used: Pages Used (%)\nStatistic.Pages_Used: 4"
                               "\n\nMessage.Pages_MaxUsed: Pages MaxUsed (%)\nStatistic.Pages_MaxUsed: 9"
                               "\n\nMessage.Pages_Wp_Local: Pages Wp Local (%)\nStatistic.Pages_Wp_Local: 0"
                               "\n\nMessage.Rolls_Used: Rolls Used (%)\nStatistic.Rolls_Used: 7"
                               "\n\nMessage.Rolls_MaxUsed: Rolls MaxUsed (%)\nStatistic.Rolls_MaxUsed: 15\n";
  EXPECT_EQ(measured_document(OutputTarget::Quelbrin), expected);
}

TEST(ResultDocument, HarnickDocumentOfAMeasuredSystemIsByteExact) {
  const std::string expected = std::string("\n# ") + measured_message +
                               "\n> Pages Used: 4 %\n> Pages MaxUsed: 9 %\n> Pages Wp Local: 0 %"
                               "\n> Rolls Used: 7 %\n> Rolls MaxUsed: 15 %\n";
  EXPECT_EQ(measured_document(OutputTarget::Harnick), expected);
}

TEST(ResultDocument, HarnickWithChannelSelectionGivesTheBareValueOnly) {
  EXPECT_EQ(measured_document(OutputTarget::Harnick, "CH=3"), "0\n");
  EXPECT_EQ(measured_document(OutputTarget::Harnick, "X,CH=5,#"), "15\n");
  EXPECT_EQ(measured_document(OutputTarget::Harnick, "CH=9"), "\n");
}

TEST(ResultDocument, ChannelSelectionMeansNothingToOtherTargets) {
  EXPECT_EQ(measured_document(OutputTarget::EXEXML, "CH=3"), measured_document(OutputTarget::EXEXML));
  EXPECT_EQ(measured_document(OutputTarget::Quelbrin, "CH=3"), measured_document(OutputTarget::Quelbrin));
}

TEST(ResultDocument, XmlOpeningDiscardsWhatTheBufferHeld) {
  ResultDocument document;
  document.result_text.assign("Error 1014: RFC-Failure raised !");
  open_result_document(document);
  EXPECT_EQ(document.result_text.view(), "\n<Prtg>\n");
  document.output_target = OutputTarget::Quelbrin;
  open_result_document(document);
  EXPECT_EQ(document.result_text.view(), "");
}

TEST(ResultDocument, MessageEscapesTheDestinationInXmlOnly) {
  ResultDocument document;
  write_usage_document(document, "P&D", measured_usage);
  EXPECT_EQ(document.result_text.view().substr(0, 31), "\n<Prtg>\n\n<Text>(P&amp;D) Page/R");
  document.output_target = OutputTarget::Quelbrin;
  write_usage_document(document, "P&D", measured_usage);
  EXPECT_EQ(document.result_text.view().substr(0, 12), "\n# (P&D) Pag");
}

TEST(ItemChannel, OnlyTheItemsValueIsWrittenNamedAfterTheSystem) {
  ResultDocument document;
  document.result_text.assign("left over");
  write_item_channel(document, "Rolls MaxUsed", "PRD", measured_usage);
  EXPECT_EQ(document.result_text.view(),
            "\n<Result><Channel>PRD</Channel>\n<Unit>Custom</Unit>\n<CustomUnit>PerCent</CustomUnit>\n"
            "<Value>15</Value></Result>\n");
  EXPECT_EQ(document.channel_count, 1u);
}

TEST(ItemChannel, ItemNamesAreComparedCaseSensitively) {
  ResultDocument document;
  document.result_text.assign("left over");
  write_item_channel(document, "pages used", "PRD", measured_usage);
  EXPECT_EQ(document.result_text.view(), "");
  EXPECT_EQ(document.channel_count, 0u);
}

TEST(ItemChannel, ChannelSelectionCountsTheChannelsOfTheWholeProcess) {
  ResultDocument document;
  document.output_target = OutputTarget::Harnick;
  select_channel(document, BoundedText<127>("CH=2"));
  write_item_channel(document, "Pages Used", "PRD.P00", measured_usage);
  EXPECT_EQ(document.result_text.view(), "");
  write_item_channel(document, "Pages MaxUsed", "DEV.P00", measured_usage);
  EXPECT_EQ(document.result_text.view(), "9");
}

TEST(ErrorDocument, IsTheMonitorsXmlForEveryTargetButPlugin) {
  for (OutputTarget target : {OutputTarget::EXEXML, OutputTarget::Miravex, OutputTarget::Tolvane,
                              OutputTarget::Quelbrin, OutputTarget::Harnick}) {
    ResultDocument document;
    document.output_target = target;
    select_channel(document, BoundedText<127>("CH=1"));
    write_error_document(document, "Error 1001: Parameter for Profile-Name is missing !");
    EXPECT_EQ(document.result_text.view(),
              "<Prtg>\n<Error>1</Error>\n<Text>Error 1001: Parameter for Profile-Name is missing !</Text>\n</Prtg>\n");
  }
}

TEST(ErrorDocument, PluginWritesOneUnknownLineCutBeforeItsLineFeed) {
  ResultDocument document;
  document.output_target = OutputTarget::Plugin;
  write_error_document(document, "Error 1012: Exception.: a|b\r\n<c>");
  EXPECT_EQ(document.result_text.view(), "SAP PAGEROLL UNKNOWN - Error 1012: Exception.: a b  <c>\n");
  write_error_document(document, std::string(5000, 'm'));
  const std::string line(document.result_text.view());
  EXPECT_EQ(line, "SAP PAGEROLL UNKNOWN - " + std::string(result_text_capacity - 24, 'm') + "\n");
}

TEST(ErrorDocument, MessageMayBeTheResultTextItself) {
  ResultDocument document;
  document.result_text.assign("Error 1014: RFC-Failure raised ! - gateway timeout");
  write_error_document(document, document.result_text.view());
  EXPECT_EQ(document.result_text.view(),
            "<Prtg>\n<Error>1</Error>\n<Text>Error 1014: RFC-Failure raised ! - gateway timeout</Text>\n</Prtg>\n");
}

TEST(ErrorDocument, OverlongMessageIsCutButTheDocumentStaysClosed) {
  ResultDocument written;
  const std::string message(5000, 'm');
  write_error_document(written, message);
  const std::string document(written.result_text.view());
  EXPECT_EQ(document.size(), 4095u);
  EXPECT_EQ(document.substr(0, 30), "<Prtg>\n<Error>1</Error>\n<Text>");
  EXPECT_EQ(document.substr(document.size() - 16), "</Text>\n</Prtg>\n");
}

TEST(ErrorDocument, CutNeverSplitsAnEscape) {
  ResultDocument written;
  write_error_document(written, std::string(4000, '&'));
  const std::string document(written.result_text.view());
  const std::string text = document.substr(30, document.size() - 30 - 16);
  EXPECT_EQ(text.size() % 5, 0u);
  EXPECT_EQ(text.find("&&"), std::string::npos);
  EXPECT_EQ(document.substr(document.size() - 16), "</Text>\n</Prtg>\n");
}

// Latin-1 text takes two bytes a character in UTF-8: a message of 4000 such
// bytes is cut at the capacity before a whole character, and the document
// still ends with its closing lines.
TEST(ErrorDocument, CutNeverSplitsACharacter) {
  ResultDocument written;
  write_error_document(written, std::string(4000, '\xE4'));
  const std::string document(written.result_text.view());
  const std::string text = document.substr(30, document.size() - 30 - 16);
  EXPECT_EQ(text.size(), 4048u);
  EXPECT_EQ(text.substr(text.size() - 2), "\xC3\xA4");
  EXPECT_EQ(document.substr(document.size() - 16), "</Text>\n</Prtg>\n");
}

TEST(ErrorDocument, MessageOfManyLinesStaysOnTheTextLine) {
  ResultDocument document;
  write_error_document(document, "Error 1012: Exception.: x\n</Text>\n<Text>y\r\n");
  EXPECT_EQ(
      document.result_text.view(),
      "<Prtg>\n<Error>1</Error>\n<Text>Error 1012: Exception.: x &lt;/Text&gt; &lt;Text&gt;y  </Text>\n</Prtg>\n");
}

TEST(XmlEscaping, SpecialCharactersAreEscapedInXmlTextsOnly) {
  ResultDocument document;
  write_error_document(document, "Profile <a&b>.P00");
  EXPECT_EQ(document.result_text.view(),
            "<Prtg>\n<Error>1</Error>\n<Text>Profile &lt;a&amp;b&gt;.P00</Text>\n</Prtg>\n");

  open_result_document(document);
  begin_result_text(document);
  add_result_text(document, "(A&B) x<y");
  end_result_text(document);
  write_channel(document, "", "R&D <1>", "5>4", "m&m");
  EXPECT_EQ(document.result_text.view(),
            "\n<Prtg>\n\n<Text>(A&amp;B) x&lt;y</Text>\n\n<Result><Channel>R&amp;D &lt;1&gt;</Channel>\n"
            "<Unit>Custom</Unit>\n<CustomUnit>m&amp;m</CustomUnit>\n<Value>5&gt;4</Value></Result>\n");

  ResultDocument plain;
  plain.output_target = OutputTarget::Harnick;
  open_result_document(plain);
  begin_result_text(plain);
  add_result_text(plain, "(A&B) x<y");
  write_channel(plain, "", "R&D", "5", "");
  EXPECT_EQ(plain.result_text.view(), "\n# (A&B) x<y\n> R&D: 5 #");
}

namespace {

// A status line's document as an item-mode run opens it.
ResultDocument opened_status_line(const ChannelLimits& limits = {}) {
  ResultDocument document;
  document.output_target = OutputTarget::Plugin;
  document.limits = limits;
  open_result_document(document);
  return document;
}

// Writes the item's value of a system whose channel is named `length`
// characters long: the performance value " 'NNN'=4%;;50;0;" takes 13 more.
void write_value_named(ResultDocument& document, std::size_t length, std::uint32_t percent) {
  PageRollUsage usage;
  usage.percent[PagesUsed] = percent;
  write_item_channel(document, "Pages Used", std::string(length, 'N'), usage);
}

}  // namespace

// The line's parts are bounded so that the whole line fits the document: the
// last value that fits whole is written, the next is left out (and still
// counts in the state), and the closed line keeps its message and line feed.
TEST(StatusLine, PerformanceValuesStopWholeAtTheirCapacityAndStillCountInTheState) {
  ResultDocument document = opened_status_line(ChannelLimits{0, 50});
  constexpr std::size_t value_around_label = 13;
  while (document.performance_data.room() >= 2 * (100 + value_around_label)) write_value_named(document, 100, 4);
  const std::size_t last_label = document.performance_data.room() - value_around_label;
  write_value_named(document, last_label, 4);
  ASSERT_EQ(document.performance_data.room(), 0u);
  EXPECT_EQ(document.performance_data.view().substr(performance_data_capacity - last_label - value_around_label),
            " '" + std::string(last_label, 'N') + "'=4%;;50;0;");
  EXPECT_EQ(document.state, ResultState::OK);

  write_value_named(document, 1, 97);
  EXPECT_EQ(document.performance_data.size(), performance_data_capacity);
  EXPECT_EQ(document.state, ResultState::Critical);

  const MessageText summary(std::string(message_text_capacity, 'm'));
  add_result_text(document, summary.view());
  close_result_document(document);
  const std::string line(document.result_text.view());
  EXPECT_EQ(line.substr(0, 24 + message_text_capacity + 3),
            "SAP PAGEROLL CRITICAL - " + std::string(message_text_capacity, 'm') + " | ");
  EXPECT_EQ(line.size(), result_text_capacity);
  EXPECT_EQ(line.back(), '\n');
}

// Failed systems are named while each fits whole with room for ", ...)";
// one that does not, and every later one, is left out and ", ..." says so.
TEST(StatusLine, FailedSystemsAreNamedAsFarAsTheMessageHasRoom) {
  for (std::size_t over : {0u, 1u}) {
    ResultDocument document = opened_status_line();
    note_failed_system(document, "QAS");
    MessageText summary(std::string(200, 's'));
    // After " (QAS" the summary has 50 characters of room: ", " and the name
    // and ", ...)" take 50 + over of them, and DEV no longer fits after it.
    note_failed_system(document, std::string(42 + over, 'T'));
    note_failed_system(document, "DEV");
    name_failed_systems(document, summary);
    EXPECT_EQ(summary.view().substr(200), over == 0 ? " (QAS, " + std::string(42, 'T') + ", ...)" : " (QAS, ...)")
        << over;
    EXPECT_EQ(document.state, ResultState::Warning);
  }
}

TEST(StatusLine, FailedSystemsThatDoNotFitTheirListAreLeftOutAndSaidSo) {
  ResultDocument document = opened_status_line();
  for (int i = 0; i < 30; ++i) note_failed_system(document, "SYSTEM" + std::to_string(i));
  EXPECT_TRUE(document.failed_systems_cut);
  MessageText summary("(***) Pages Used: NoSystems=30, Processed=0, Failed=30");
  name_failed_systems(document, summary);
  const std::string named(summary.view());
  EXPECT_EQ(named.substr(named.size() - 6), ", ...)");
  EXPECT_NE(named.find(" (SYSTEM0, SYSTEM1, "), std::string::npos);
  EXPECT_EQ(named.find("SYSTEM29"), std::string::npos);
}

TEST(StatusLine, DocumentTargetsNameNoFailedSystem) {
  ResultDocument document;
  open_result_document(document);
  note_failed_system(document, "QAS");
  MessageText summary("(***) Pages Used: NoSystems=1, Processed=0, Failed=1");
  name_failed_systems(document, summary);
  EXPECT_EQ(summary.view(), "(***) Pages Used: NoSystems=1, Processed=0, Failed=1");
  EXPECT_EQ(finished_run_exit_code(document), 0);
}

// What the doctor reads from a trial run's line is what the writer wrote.
TEST(StatusLine, ReadingALineGivesBackItsStateAndMessage) {
  ResultDocument document = opened_status_line(ChannelLimits{5, 50});
  write_usage_document(document, "PRD", measured_usage);
  ResultState state = ResultState::Unknown;
  std::string_view message;
  ASSERT_TRUE(read_status_line(document.result_text.view(), state, message));
  EXPECT_EQ(state, ResultState::Warning);
  EXPECT_EQ(message, measured_message);

  write_error_document(document, "Error 1011: RFC-Open for PRD failed !");
  ASSERT_TRUE(read_status_line(document.result_text.view(), state, message));
  EXPECT_EQ(state, ResultState::Unknown);
  EXPECT_EQ(message, "Error 1011: RFC-Open for PRD failed !");

  for (const char* none : {"", "SAP PAGEROLL", "SAP PAGEROLL FINE - x", "SAP PAGEROLL OK x", "<Prtg>"})
    EXPECT_FALSE(read_status_line(none, state, message)) << none;
}
