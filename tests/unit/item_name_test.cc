#include <gtest/gtest.h>

#include <string>

#include "config/item_name.h"

namespace {

// What error 1033 says after "names no value" for the item typed after "ITEM=".
std::string refusal_of(const std::string& typed) {
  ItemName name;
  take_item_name(typed, name);
  const ConfigStatus status = check_item_name(name);
  const std::string message(status.message());
  const std::size_t said = message.find(" names no value");
  return said == std::string::npos ? message : message.substr(said, message.find(": ", said) - said);
}

}  // namespace

TEST(ItemName, OnlyTheFiveChannelNamesPassAndNearMissesNameTheOneMeant) {
  const struct {
    const char* typed;
    const char* refusal;
  } rows[] = {
      {"Pages:Used", ""},
      {"Pages:Wp:Local,Alias", ""},
      {"Rolls:MaxUsed", ""},
      {"pages:used", " names no value (meant Pages:Used?)"},
      {"PagesUsed", " names no value (meant Pages:Used?)"},
      {"Rolls::MaxUsed", " names no value (meant Rolls:MaxUsed?)"},
      {"ROLLS:MAXUSED:", " names no value (meant Rolls:MaxUsed?)"},
      {"Pages:Usd", " names no value"},
      {"Pages", " names no value"},
      {"Pages:Used:Local", " names no value"},
  };
  for (const auto& row : rows) EXPECT_EQ(refusal_of(row.typed), row.refusal) << row.typed;
}

TEST(ItemName, LongestNameIsQuotedWholeAndNeverTakenForTheOneItsStartResembles) {
  // Cut after 90 characters, this name would read "Pages:Used" and colons.
  const std::string typed = "Pages:Used" + std::string(111, ':') + "X";
  ASSERT_EQ(typed.size(), item_name_capacity);
  ItemName name;
  take_item_name(typed + ",Alias", name);
  EXPECT_EQ(std::string(check_item_name(name).message()),
            "Error 1033: Item " + typed +
                " names no value: Pages:Used, Pages:MaxUsed, Pages:Wp:Local, Rolls:Used, Rolls:MaxUsed !");
}
