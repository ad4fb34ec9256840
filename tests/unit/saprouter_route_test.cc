#include "common/saprouter_route.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string shown(std::string_view text) {
  BoundedText<255> result;
  EXPECT_TRUE(append_without_route_passwords(result, text)) << text;
  return std::string(result.view());
}

}  // namespace

TEST(SaprouterRoute, HopsInAnyCaseAndAnywhereSplitAfterTheLastHostHop) {
  const struct {
    const char* name;
    const char* router;
    const char* host;
  } rows[] = {
      {"sapprd01", "", "sapprd01"},
      {"sap/prd", "", "sap/prd"},
      {"/HH/x", "", "/HH/x"},
      {"/H/gate/S/3299/H/sapprd01", "/H/gate/S/3299/H/", "sapprd01"},
      {"/h/gate/s/3299/w/Secret/h/host", "/h/gate/s/3299/w/Secret/h/", "host"},
      {"/S/3299/W/Secret/H/host", "/S/3299/W/Secret/H/", "host"},
      {"/W/Secret/H/host", "/W/Secret/H/", "host"},
      {"gate/H/host", "gate/H/", "host"},
      {"/H/gate/W/secret/H/", "/H/gate/W/secret/H/", ""},
      {"/H/gate/W/secret/H/sapprd01/S/3300", "/H/gate/W/secret/H/", "sapprd01/S/3300"},
      {"/S/3299/W/secret", "/S/3299/W/secret", ""},
  };
  for (const auto& row : rows) {
    const SaprouterRoute route = split_saprouter_route(row.name);
    EXPECT_EQ(route.router, row.router) << row.name;
    EXPECT_EQ(route.host, row.host) << row.name;
    EXPECT_EQ(holds_saprouter_route(row.name), *row.router != '\0') << row.name;
  }
}

TEST(SaprouterRoute, EveryPasswordIsShownAsStarsAndNothingElseChanges) {
  const struct {
    const char* text;
    const char* shown;
  } rows[] = {
      {"", ""},
      {"sapprd01", "sapprd01"},
      {"/H/gate/S/3299/H/sapprd01", "/H/gate/S/3299/H/sapprd01"},
      {"C:\\Program Files\\x/y", "C:\\Program Files\\x/y"},
      {"/H/gate/S/3299/W/Secret/H/host", "/H/gate/S/3299/W/****/H/host"},
      {"/h/gate/w/secret/h/host", "/h/gate/w/****/h/host"},
      {"/W/x/H/host", "/W/****/H/host"},
      {"/H/a/W/first/H/b/W/second/H/c", "/H/a/W/****/H/b/W/****/H/c"},
      {"/W/a/W/b", "/W/****/W/****"},
      {"/H/a/W/pass word", "/H/a/W/****"},
      {"host /H/a/W/pw/H/b not found", "host /H/a/W/****/H/b not found"},
      {"/W//H/host", "/W//H/host"},
      {"/H/a/W/", "/H/a/W/"},
  };
  for (const auto& row : rows) EXPECT_EQ(shown(row.text), row.shown) << row.text;
}

TEST(SaprouterRoute, TextCutAtTheCapacityNeverShowsAPassword) {
  const std::string text = "/H/gate/W/Secret/H/sapprd01";  // shown as 27 characters
  BoundedText<27> fits;
  EXPECT_TRUE(append_without_route_passwords(fits, text));
  EXPECT_EQ(fits.view(), "/H/gate/W/****/H/sapprd01");
  for (std::size_t room : {8u, 10u, 11u, 12u, 24u}) {
    BoundedText<24> cut;
    cut.assign(std::string(24 - room, '.'));
    EXPECT_FALSE(append_without_route_passwords(cut, text)) << room;
    EXPECT_EQ(cut.view().find('S'), std::string_view::npos) << cut.view();
    EXPECT_EQ(cut.view().substr(24 - room), std::string("/H/gate/W/****/H/sapprd01").substr(0, room));
  }
}
