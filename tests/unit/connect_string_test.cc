// The connect string of RfcOpenEx, split by its keywords.
#include "connect_string.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(ConnectString, EachValueRunsToTheNextKeywordInOrderSoItMayHoldBlanksAndKeywordsOrBeEmpty) {
  const struct {
    const char* text;
    const char* fields[5];  // client, user, password, language, destination
  } strings[] = {
      {"CLIENT=100 USER=MONITOR PASSWD=secret LANG=D DEST=PRD", {"100", "MONITOR", "secret", "D", "PRD"}},
      {"CLIENT=1 USER=U PASSWD= x DEST=y LANG=z PASSWD=  LANG=E DEST=Q A",
       {"1", "U", " x DEST=y LANG=z PASSWD= ", "E", "Q A"}},
      {"CLIENT= USER= PASSWD= LANG= DEST=", {"", "", "", "", ""}},
  };
  for (const auto& given : strings) {
    ConnectStringFields fields;
    ASSERT_TRUE(parse_connect_string(given.text, fields)) << given.text;
    const std::string_view got[5] = {fields.client.view(), fields.user.view(), fields.password.view(),
                                     fields.language.view(), fields.destination.view()};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(got[i], given.fields[i]) << given.text << ", field " << i;
  }
}

TEST(ConnectString, MissingOrMisorderedKeywordIsRefused) {
  ConnectStringFields fields;
  EXPECT_FALSE(parse_connect_string(nullptr, fields));
  for (const char* text : {"", "USER=U CLIENT=1 PASSWD=p LANG=D DEST=PRD", "CLIENT=1 USER=U PASSWD=p DEST=PRD",
                           "CLIENT=1 USER=U LANG=D PASSWD=p DEST=PRD", "CLIENT=1 USER=U PASSWD=p DEST=PRD LANG=D",
                           " CLIENT=1 USER=U PASSWD=p LANG=D DEST=PRD"})
    EXPECT_FALSE(parse_connect_string(text, fields)) << text;
}

TEST(ConnectString, ValueOf63CharactersIsTakenAnd64Refused) {
  ConnectStringFields fields;
  const std::string at_limit(63, 'p');
  ASSERT_TRUE(parse_connect_string(("CLIENT=1 USER=U PASSWD=" + at_limit + " LANG=D DEST=PRD").c_str(), fields));
  EXPECT_EQ(fields.password.view(), at_limit);
  EXPECT_FALSE(parse_connect_string(("CLIENT=1 USER=U PASSWD=" + at_limit + "p LANG=D DEST=PRD").c_str(), fields));
}

}  // namespace
