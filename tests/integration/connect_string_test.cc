// The connect string of RfcOpenEx, split by its keywords.
#include "connect_string.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(ConnectString, SensorsStringIsSplitIntoItsFiveValues) {
  ConnectStringFields fields;
  ASSERT_TRUE(parse_connect_string("CLIENT=100 USER=MONITOR PASSWD=secret LANG=D DEST=PRD", fields));
  EXPECT_EQ(fields.client.view(), "100");
  EXPECT_EQ(fields.user.view(), "MONITOR");
  EXPECT_EQ(fields.password.view(), "secret");
  EXPECT_EQ(fields.language.view(), "D");
  EXPECT_EQ(fields.destination.view(), "PRD");
}

TEST(ConnectString, PasswordMayHoldBlanksAndEveryKeyword) {
  ConnectStringFields fields;
  ASSERT_TRUE(parse_connect_string("CLIENT=1 USER=U PASSWD= x DEST=y LANG=z PASSWD=  LANG=E DEST=Q A", fields));
  EXPECT_EQ(fields.password.view(), " x DEST=y LANG=z PASSWD= ");
  EXPECT_EQ(fields.language.view(), "E");
  EXPECT_EQ(fields.destination.view(), "Q A");
}

TEST(ConnectString, EmptyValuesAreValues) {
  ConnectStringFields fields;
  ASSERT_TRUE(parse_connect_string("CLIENT= USER= PASSWD= LANG= DEST=", fields));
  EXPECT_TRUE(fields.client.empty());
  EXPECT_TRUE(fields.destination.empty());
}

TEST(ConnectString, MissingOrMisorderedKeywordIsRefused) {
  ConnectStringFields fields;
  EXPECT_FALSE(parse_connect_string(nullptr, fields));
  EXPECT_FALSE(parse_connect_string("", fields));
  EXPECT_FALSE(parse_connect_string("USER=U CLIENT=1 PASSWD=p LANG=D DEST=PRD", fields));
  EXPECT_FALSE(parse_connect_string("CLIENT=1 USER=U PASSWD=p DEST=PRD", fields));
  EXPECT_FALSE(parse_connect_string("CLIENT=1 USER=U LANG=D PASSWD=p DEST=PRD", fields));
  EXPECT_FALSE(parse_connect_string("CLIENT=1 USER=U PASSWD=p DEST=PRD LANG=D", fields));
  EXPECT_FALSE(parse_connect_string(" CLIENT=1 USER=U PASSWD=p LANG=D DEST=PRD", fields));
}

TEST(ConnectString, ValueOf63CharactersIsTakenAnd64Refused) {
  ConnectStringFields fields;
  const std::string at_limit(63, 'p');
  ASSERT_TRUE(parse_connect_string(("CLIENT=1 USER=U PASSWD=" + at_limit + " LANG=D DEST=PRD").c_str(), fields));
  EXPECT_EQ(fields.password.view(), at_limit);
  EXPECT_FALSE(parse_connect_string(("CLIENT=1 USER=U PASSWD=" + at_limit + "p LANG=D DEST=PRD").c_str(), fields));
}

}  // namespace
