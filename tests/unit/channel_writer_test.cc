#include "output/channel_writer.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string message_key_of(const char* key, const char* label) {
  BoundedText<123> message_key;
  form_message_key(key, label, message_key);
  return std::string(message_key.view());
}

ResultDocument document_with_limits(OutputTarget target, unsigned warning, unsigned error) {
  ResultDocument document;
  document.output_target = target;
  document.limits = ChannelLimits{warning, error};
  return document;
}

long channel_selected_by(const char* run_options) {
  BoundedText<127> options(run_options);
  return selected_channel_number(options);
}

}  // namespace

TEST(ChannelWriter, QuelbrinTakesTenChannelsAndCountsTheDroppedOnes) {
  ResultDocument document;
  document.output_target = OutputTarget::Quelbrin;
  for (int i = 0; i < 10; ++i) write_channel(document, "", "Pages Used", "1", "PerCent");
  const std::string after_ten(document.result_text.view());
  write_channel(document, "", "Pages Used", "1", "PerCent");
  write_channel(document, "", "Rolls Used", "2", "PerCent");
  EXPECT_EQ(document.result_text.view(), after_ten);
  EXPECT_EQ(document.channel_count, 12u);
}

TEST(ChannelWriter, MessageKeyIsTheKeyOrElseTheLabelAsOneWord) {
  EXPECT_EQ(message_key_of("", "Pages Wp Local"), "Pages_Wp_Local");
  EXPECT_EQ(message_key_of("a.b.c", "Pages Used"), "a_b.c");
  EXPECT_EQ(message_key_of("x/y\\z[1]", "Pages Used"), "x_y_z_1_");
  EXPECT_EQ(message_key_of("PRD.P00", "PRD.P00"), "PRD_P00");
}

TEST(ChannelWriter, QuelbrinRecordUsesTheKeyAndTheTranslatedUnit) {
  ResultDocument document;
  document.output_target = OutputTarget::Quelbrin;
  write_channel(document, "PRD.P00", "PRD.P00", "4", "PerCent");
  write_channel(document, "", "Answer", "12", "TimeResponse");
  write_channel(document, "", "Count", "3", "");
  write_channel(document, "", "Size", "8", "KByte");
  EXPECT_EQ(document.result_text.view(),
            "\n\nMessage.PRD_P00: PRD.P00 (%)\nStatistic.PRD_P00: 4"
            "\n\nMessage.Answer: Answer (mSec)\nStatistic.Answer: 12"
            "\n\nMessage.Count: Count (#)\nStatistic.Count: 3"
            "\n\nMessage.Size: Size (KByte)\nStatistic.Size: 8");
}

TEST(ChannelWriter, XmlRecordWithoutUnitHasNoUnitLines) {
  ResultDocument document;
  write_channel(document, "", "Count", "3", "");
  EXPECT_EQ(document.result_text.view(), "\n<Result><Channel>Count</Channel>\n<Value>3</Value></Result>\n");
}

TEST(ChannelWriter, XmlRecordKeepsTheUnitUntranslated) {
  ResultDocument document;
  write_channel(document, "PRD", "PRD", "4", "PerCent");
  EXPECT_EQ(document.result_text.view(),
            "\n<Result><Channel>PRD</Channel>\n<Unit>Custom</Unit>\n<CustomUnit>PerCent</CustomUnit>\n"
            "<Value>4</Value></Result>\n");
}

TEST(ChannelWriter, HarnickSelectsOnlyTheNumberedChannelOfTheProcess) {
  ResultDocument document;
  document.output_target = OutputTarget::Harnick;
  select_channel(document, BoundedText<127>("CH=2"));
  write_channel(document, "", "Pages Used", "4", "PerCent");
  write_channel(document, "", "Pages MaxUsed", "9", "PerCent");
  write_channel(document, "", "Pages Wp Local", "0", "PerCent");
  EXPECT_EQ(document.result_text.view(), "9");
}

TEST(ChannelWriter, ChannelNumberIsReadFromAtMostThreeCharacters) {
  EXPECT_EQ(channel_selected_by("CH=2"), 2);
  EXPECT_EQ(channel_selected_by("CH=12,ITEM=X"), 12);
  EXPECT_EQ(channel_selected_by("CH=1234"), 123);
  EXPECT_EQ(channel_selected_by("CH=1,2"), 1);
  EXPECT_EQ(channel_selected_by("CH= 7"), 7);
  EXPECT_EQ(channel_selected_by("CH=ABC"), 0);
  EXPECT_EQ(channel_selected_by("CH="), 0);
  EXPECT_EQ(channel_selected_by("X CH=4 CH=5"), 4);
}

TEST(ChannelWriter, OverlongKeyValueAndUnitAreCutAt123Characters) {
  ResultDocument document;
  document.output_target = OutputTarget::Quelbrin;
  const std::string at_limit(123, 'k'), past_limit(200, 'k');
  write_channel(document, past_limit, "L", past_limit, past_limit);
  EXPECT_EQ(document.result_text.view(),
            "\n\nMessage." + at_limit + ": L (" + at_limit + ")\nStatistic." + at_limit + ": " + at_limit);
}

TEST(ChannelWriter, XmlRecordProposesLimitsBetweenValueAndResultEnd) {
  ResultDocument document = document_with_limits(OutputTarget::Miravex, 80, 95);
  write_channel(document, "", "Pages Used", "4", "PerCent");
  EXPECT_EQ(document.result_text.view(),
            "\n<Result><Channel>Pages Used</Channel>\n<Unit>Custom</Unit>\n<CustomUnit>PerCent</CustomUnit>\n"
            "<Value>4</Value>\n"
            "<LimitMaxWarning>80</LimitMaxWarning>\n<LimitWarningMsg>Pages Used is above 80 %</LimitWarningMsg>\n"
            "<LimitMaxError>95</LimitMaxError>\n<LimitErrorMsg>Pages Used is above 95 %</LimitErrorMsg>\n"
            "<LimitMode>1</LimitMode></Result>\n");
}

TEST(ChannelWriter, ErrorLimitAloneNamesAnEscapedLabelAndNoUnitWithoutOne) {
  ResultDocument document = document_with_limits(OutputTarget::EXEXML, 0, 90);
  write_channel(document, "R&D", "R&D", "7", "PerCent");
  write_channel(document, "", "Count", "3", "");
  EXPECT_EQ(document.result_text.view(),
            "\n<Result><Channel>R&amp;D</Channel>\n<Unit>Custom</Unit>\n<CustomUnit>PerCent</CustomUnit>\n"
            "<Value>7</Value>\n<LimitMaxError>90</LimitMaxError>\n"
            "<LimitErrorMsg>R&amp;D is above 90 %</LimitErrorMsg>\n"
            "<LimitMode>1</LimitMode></Result>\n"
            "\n<Result><Channel>Count</Channel>\n<Value>3</Value>\n<LimitMaxError>90</LimitMaxError>\n"
            "<LimitErrorMsg>Count is above 90</LimitErrorMsg>\n<LimitMode>1</LimitMode></Result>\n");
}

TEST(ChannelWriter, PlainTextTargetsIgnoreLimits) {
  for (OutputTarget target : {OutputTarget::Quelbrin, OutputTarget::Harnick}) {
    ResultDocument with = document_with_limits(target, 80, 95), without;
    without.output_target = target;
    write_channel(with, "", "Pages Used", "4", "PerCent");
    write_channel(without, "", "Pages Used", "4", "PerCent");
    EXPECT_EQ(with.result_text.view(), without.result_text.view());
  }
}

TEST(ChannelWriter, ChannelThatLeavesNoRoomForTheDocumentEndIsLeftOutWhole) {
  ResultDocument alone = document_with_limits(OutputTarget::EXEXML, 80, 95);
  write_channel(alone, "", "Pages MaxUsed", "15", "PerCent");
  const std::string record(alone.result_text.view());
  const std::size_t end = result_document_end(OutputTarget::EXEXML).size();
  // Filled so that the record and the end fit exactly, and one character more.
  const std::size_t exact_fit = result_text_capacity - end - record.size();
  for (std::size_t filled : {exact_fit, exact_fit + 1}) {
    ResultDocument document = document_with_limits(OutputTarget::EXEXML, 80, 95);
    const std::string filler(filled, 'x');
    document.result_text.assign(filler);
    write_channel(document, "", "Pages MaxUsed", "15", "PerCent");
    close_result_document(document);
    EXPECT_EQ(document.result_text.view(), filler + (filled == exact_fit ? record : "") + "\n</Prtg>\n") << filled;
    EXPECT_EQ(document.channel_count, 1u);
  }
}
