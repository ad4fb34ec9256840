#include "output/result_document.h"

#include <gtest/gtest.h>

#include <string>

#include "driver/run_state.h"
#include "output/channel_writer.h"

namespace {

constexpr const char* worked_message = "(PRD) Page/Roll: Pages Used=4%, Max=9%, WpLocal=0%, Roll Used=7%, Max=15";

// The complete document of one measured system, written the way the
// calculation writes it, with the values of the worked example.
std::string worked_document(OutputTarget target, const char* run_options = "") {
  RunState state;
  state.output_target = target;
  state.run_options.assign(run_options);
  open_result_document(state);
  begin_result_text(state);
  add_result_text(state, worked_message);
  end_result_text(state);
  write_channel(state, "", "Pages Used", "4", "PerCent");
  write_channel(state, "", "Pages MaxUsed", "9", "PerCent");
  write_channel(state, "", "Pages Wp Local", "0", "PerCent");
  write_channel(state, "", "Rolls Used", "7", "PerCent");
  write_channel(state, "", "Rolls MaxUsed", "15", "PerCent");
  close_result_document(state);
  return std::string(state.result_text.view());
}

std::string xml_record(const char* label, const char* value) {
  return std::string("\n<Result><Channel>") + label + "</Channel>\n<Unit>Custom</Unit>\n<CustomUnit>PerCent</CustomUnit>\n<Value>" +
         value + "</Value></Result>\n";
}

}  // namespace

TEST(ResultDocument, XmlDocumentOfAMeasuredSystemIsByteExact) {
  const std::string expected = std::string("\n<Prtg>\n\n<Text>") + worked_message + "</Text>\n" +
                               xml_record("Pages Used", "4") + xml_record("Pages MaxUsed", "9") +
                               xml_record("Pages Wp Local", "0") + xml_record("Rolls Used", "7") +
                               xml_record("Rolls MaxUsed", "15") + "\n</Prtg>\n";
  EXPECT_EQ(worked_document(OutputTarget::EXEXML), expected);
  int lines = 0;
  for (char c : expected) lines += c == '\n';
  EXPECT_EQ(lines, 31);
}

TEST(ResultDocument, AllThreeXmlTargetsWriteTheSameBytes) {
  EXPECT_EQ(worked_document(OutputTarget::Miravex), worked_document(OutputTarget::EXEXML));
  EXPECT_EQ(worked_document(OutputTarget::Tolvane), worked_document(OutputTarget::EXEXML));
}

TEST(ResultDocument, QuelbrinDocumentOfAMeasuredSystemIsByteExact) {
  const std::string expected = std::string("\n# ") + worked_message +
                               "\n\nMessage.Pages_Used: Pages Used (%)\nStatistic.Pages_Used: 4"
                               "\n\nMessage.Pages_MaxUsed: Pages MaxUsed (%)\nStatistic.Pages_MaxUsed: 9"
                               "\n\nMessage.Pages_Wp_Local: Pages Wp Local (%)\nStatistic.Pages_Wp_Local: 0"
                               "\n\nMessage.Rolls_Used: Rolls Used (%)\nStatistic.Rolls_Used: 7"
                               "\n\nMessage.Rolls_MaxUsed: Rolls MaxUsed (%)\nStatistic.Rolls_MaxUsed: 15\n";
  EXPECT_EQ(worked_document(OutputTarget::Quelbrin), expected);
}

TEST(ResultDocument, HarnickDocumentOfAMeasuredSystemIsByteExact) {
  const std::string expected = std::string("\n# ") + worked_message +
                               "\n> Pages Used: 4 %\n> Pages MaxUsed: 9 %\n> Pages Wp Local: 0 %"
                               "\n> Rolls Used: 7 %\n> Rolls MaxUsed: 15 %\n";
  EXPECT_EQ(worked_document(OutputTarget::Harnick), expected);
}

TEST(ResultDocument, HarnickWithChannelSelectionGivesTheBareValueOnly) {
  EXPECT_EQ(worked_document(OutputTarget::Harnick, "CH=3"), "0\n");
  EXPECT_EQ(worked_document(OutputTarget::Harnick, "X,CH=5,#"), "15\n");
  EXPECT_EQ(worked_document(OutputTarget::Harnick, "CH=9"), "\n");
}

TEST(ResultDocument, ChannelSelectionMeansNothingToOtherTargets) {
  EXPECT_EQ(worked_document(OutputTarget::EXEXML, "CH=3"), worked_document(OutputTarget::EXEXML));
  EXPECT_EQ(worked_document(OutputTarget::Quelbrin, "CH=3"), worked_document(OutputTarget::Quelbrin));
}

TEST(ResultDocument, XmlOpeningDiscardsWhatTheBufferHeld) {
  RunState state;
  state.result_text.assign("Error 1014: RFC-Failure raised !");
  open_result_document(state);
  EXPECT_EQ(state.result_text.view(), "\n<Prtg>\n");
  state.output_target = OutputTarget::Quelbrin;
  open_result_document(state);
  EXPECT_EQ(state.result_text.view(), "");
}

TEST(ErrorDocument, IsTheMonitorsXmlForEveryTarget) {
  for (OutputTarget target : {OutputTarget::EXEXML, OutputTarget::Quelbrin, OutputTarget::Harnick}) {
    RunState state;
    state.output_target = target;
    state.run_options.assign("CH=1");
    write_error_document(state, "Error 1001: Parameter for Profile-Name is missing !");
    EXPECT_EQ(state.result_text.view(),
              "<Prtg>\n<Error>1</Error>\n<Text>Error 1001: Parameter for Profile-Name is missing !</Text>\n</Prtg>\n");
  }
}

TEST(ErrorDocument, MessageMayBeTheResultTextItself) {
  RunState state;
  state.result_text.assign("Error 1014: RFC-Failure raised ! - gateway timeout");
  write_error_document(state, state.result_text.view());
  EXPECT_EQ(state.result_text.view(),
            "<Prtg>\n<Error>1</Error>\n<Text>Error 1014: RFC-Failure raised ! - gateway timeout</Text>\n</Prtg>\n");
}

TEST(ErrorDocument, OverlongMessageIsCutButTheDocumentStaysClosed) {
  RunState state;
  const std::string message(5000, 'm');
  write_error_document(state, message);
  const std::string document(state.result_text.view());
  EXPECT_EQ(document.size(), 4095u);
  EXPECT_EQ(document.substr(0, 30), "<Prtg>\n<Error>1</Error>\n<Text>");
  EXPECT_EQ(document.substr(document.size() - 16), "</Text>\n</Prtg>\n");
}

TEST(ErrorDocument, CutNeverSplitsAnEscape) {
  RunState state;
  write_error_document(state, std::string(4000, '&'));
  const std::string document(state.result_text.view());
  const std::string text = document.substr(30, document.size() - 30 - 16);
  EXPECT_EQ(text.size() % 5, 0u);
  EXPECT_EQ(text.find("&&"), std::string::npos);
  EXPECT_EQ(document.substr(document.size() - 16), "</Text>\n</Prtg>\n");
}

TEST(XmlEscaping, SpecialCharactersAreEscapedInXmlTextsOnly) {
  RunState state;
  write_error_document(state, "Profile <a&b>.P00");
  EXPECT_EQ(state.result_text.view(), "<Prtg>\n<Error>1</Error>\n<Text>Profile &lt;a&amp;b&gt;.P00</Text>\n</Prtg>\n");

  open_result_document(state);
  begin_result_text(state);
  add_result_text(state, "(A&B) x<y");
  end_result_text(state);
  write_channel(state, "", "R&D <1>", "5>4", "m&m");
  EXPECT_EQ(state.result_text.view(),
            "\n<Prtg>\n\n<Text>(A&amp;B) x&lt;y</Text>\n\n<Result><Channel>R&amp;D &lt;1&gt;</Channel>\n"
            "<Unit>Custom</Unit>\n<CustomUnit>m&amp;m</CustomUnit>\n<Value>5&gt;4</Value></Result>\n");

  RunState plain;
  plain.output_target = OutputTarget::Harnick;
  open_result_document(plain);
  begin_result_text(plain);
  add_result_text(plain, "(A&B) x<y");
  write_channel(plain, "", "R&D", "5", "");
  EXPECT_EQ(plain.result_text.view(), "\n# (A&B) x<y\n> R&D: 5 #");
}
