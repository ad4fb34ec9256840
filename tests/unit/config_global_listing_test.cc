#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "config/global_listing.h"
#include "virtual_files.h"

namespace {

const std::string allocation = ",Sensor=\"SAP Quenmarel\"";

class Listing : public ::testing::Test {
 protected:
  Listing() { location.open_for_reading = VirtualFiles::open; }

  // Loads `text` as the named listing file with the option text `given`;
  // returns the refusal's message, empty when the listing was taken.
  std::string load(const std::string& file_name, const std::string& text, const std::string& given = "SENSOR01") {
    location.profile_file_name.assign(file_name);
    location.profile_path.assign("D:\\cfg\\" + file_name);
    options.given_options.assign(given);
    options.first_option_word.assign(given.substr(0, given.find(' ')));
    refresh_run_options(options);
    files.add("D:\\cfg\\" + file_name, text);
    const ConfigStatus status = load_global_listing(location, options, listing);
    EXPECT_EQ(files.open_count(), 0) << "a listing file was left open";
    return std::string(status.message());
  }
  std::string load_global(const std::string& text, const std::string& given = "SENSOR01") {
    return load("SAP Gastrelo.Gbl", text, given);
  }
  std::string server_listing() { return std::string(listing.server_listing.view()); }

  VirtualFiles files;
  ProfileLocation location;
  RunOptions options;
  ItemListing listing;
};

}  // namespace

TEST_F(Listing, SensorWordMatchesOnItsFirstTenCharactersAndIsPaddedToTen) {
  const std::string lines = "# GSNG: SENSOR0123: PRD.P00#\n# gsnx: sensor0123: Item=Pages:Used" + allocation + "\n";
  EXPECT_EQ(load_global(lines, "SENSOR0123XY"), "");
  EXPECT_EQ(server_listing(), "PRD.P00#");
  EXPECT_EQ(listing.item_name.view(), "Pages Used");
  EXPECT_EQ(load_global("# GSNG:           : PRD.P00#\n# GSNX:           :Item=Rolls Used" + allocation + "\n", ""),
            "");
  EXPECT_EQ(listing.item_name.view(), "Rolls");
}

TEST_F(Listing, LaterEntriesReplaceItemAndOptionsButAKindIsKeptUntilAnotherIsNamed) {
  EXPECT_EQ(load_global("# GSNG: SENSOR01  : A#\n# GSNX: SENSOR01  : Item=A,Host" + allocation +
                        "\n# GSNX: SENSOR01  : Item=B,CH=2" + allocation + ",Profile\n"),
            "");
  EXPECT_EQ(listing.key_kind, KeyKind::Profile) << "a kind after the allocation still counts";
  EXPECT_EQ(listing.item_name.view(), "B");
  EXPECT_EQ(options.given_options.view(), " Item=B,CH=2");
  EXPECT_EQ(load_global("# GSNG: SENSOR01  : A#\n# GSNX: SENSOR01  : Item=A,Host" + allocation +
                        "\n# GSNX: SENSOR01  : Item=B" + allocation + "\n"),
            "");
  EXPECT_EQ(listing.key_kind, KeyKind::Host) << "an entry without a kind keeps the last one named";
}

TEST_F(Listing, ChecksAfterReadingComeInTheOrderSensorThenListingThenItem) {
  EXPECT_EQ(load_global("# GSNG: SENSOR01  : A#\n", "Sensor01 x"), "Error 1030: Global Sensor Sensor01 not found...");
  EXPECT_EQ(load_global("# GSNX: SENSOR01  : ITEM=A" + allocation + "\n"),
            "Error 1025: Global Server Listing missing...");
  EXPECT_EQ(load_global("# GSNG: SENSOR01  : A#\n# GSNX: SENSOR01  : ITEM=A" + allocation + "\n"),
            "Error 1026: Global Item Idenification missing...");
  EXPECT_EQ(load("Gastrelo.Prf", "# Gsng: 123456789012\n"), "Error 1025: Global Server Listing missing...")
      << "a listing line ending at column 20 adds nothing";
}

TEST_F(Listing, ListingFileThatCannotBeOpenedAgainIsMissing) {
  location.profile_file_name.assign("Gastrelo.Prf");
  location.profile_path.assign("Gastrelo.Prf");
  EXPECT_EQ(load_global_listing(location, options, listing).message(),
            "Error 1024: ProFile Gastrelo.Prf is missing...");
  location.profile_file_name.assign("SAP Gastrelo.Gbl");
  EXPECT_EQ(load_global_listing(location, options, listing).message(),
            "Error 10x1: ProFile SAP Gastrelo.Gbl is missing...");
}

TEST_F(Listing, ListingAndEntryTextUpToTheirCapacityFitAndLongerOnesAreRefused) {
  // The carriage returns of the line ends must not count towards the listing.
  const std::string head = "# Gsng: 123456789012";
  std::string lines;
  for (int i = 0; i < 11; ++i) lines += head + std::string(179, 'p') + "\r\n";  // 11 x 179 + 78 = 2047
  EXPECT_EQ(load("Gastrelo.Prf", lines + head + std::string(78, 'q') + "\r\n", "ITEM=X"),
            "Error 1026: Global Item Idenification missing...");
  EXPECT_EQ(server_listing().size(), 2047u);
  EXPECT_EQ(load("Gastrelo.Prf", lines + head + std::string(79, 'q') + "\n"),
            "Error 1027: Global Server Listing too long...");

  const std::string entry = "# GSNX: SENSOR01  :Item=A" + allocation;
  const std::string fitting = entry + std::string(127 - (entry.size() - 19), ',') + "\n";
  EXPECT_EQ(load_global("# GSNG: SENSOR01  : A#\n" + fitting), "");
  EXPECT_EQ(load_global("# GSNG: SENSOR01  : A#\n" + entry + std::string(128 - (entry.size() - 19), ',') + "\n"),
            "Error 1028: Global Sensor Entry too long...");
  EXPECT_EQ(load_global("# GSNG: SENSOR01  : A#\n# GSNX: SENSOR01  :Item=A,Sensor=\"SAP\"\n"),
            "Error 1029: Invalid Sensor-Allocation...");
}

TEST_F(Listing, LinesAreReadWholeUpToTheirCapacityAndALongerLineOfTheRunIsRefused) {
  // Lines of 4095 characters are judged by what they hold: a whole entry line
  // is too long an entry, a whole listing line too long a listing.
  const std::string entry = "# GSNX: SENSOR01  :Item=A" + allocation;
  EXPECT_EQ(load_global("# GSNG: SENSOR01  : A#\n" + entry + std::string(4095 - entry.size(), ',') + "\n"),
            "Error 1028: Global Sensor Entry too long...");
  EXPECT_EQ(load_global("# GSNG: sensor01  : " + std::string(4075, 'p') + "\n" + entry + "\n"),
            "Error 1027: Global Server Listing too long...");
  EXPECT_EQ(load_global("# GSNG: sensor01  : " + std::string(4076, 'p') + "\r\n" + entry + "\n", "Sensor01 #"),
            "Error 1035: Listing line of Sensor01 (4096 characters, at most 4095) too long...");
  EXPECT_EQ(load_global("# GSNG: SENSOR01  : A#\n" + entry + std::string(9000, ',') + "\n"),
            "Error 1035: Listing line of SENSOR01 (" + std::to_string(entry.size() + 9000) +
                " characters, at most 4095) too long...");
  EXPECT_EQ(load("Gastrelo.Prf", "# Gsng: 123456789012" + std::string(4076, 'p') + "\n", "ITEM=X"),
            "Error 1035: Listing line of Gastrelo.Prf (4096 characters, at most 4095) too long...");

  // Another sensor's line of any length is read past, and no part of it is
  // taken for a line of its own.
  const std::string inside = "# GSNG: SENSOR01  : LOST.P00#";
  EXPECT_EQ(load_global("# GSNG: SENSOR02  : " + std::string(4075, 'o') + inside + "\n# GSNG: SENSOR01  : A#\n" +
                        entry + "\n"),
            "");
  EXPECT_EQ(server_listing(), "A#");
  EXPECT_EQ(load("Gastrelo.Prf", "* " + std::string(5000, 'c') + "\n# Gsng: 123456789012B#\n", "ITEM=X"), "");
  EXPECT_EQ(server_listing(), "B#");
}

TEST(ListedNames, NamesUpToAFileNamesCapacityAreTakenLongerOnesOpenNothing) {
  const std::string longest(63, 'n');
  ItemListing listing;
  listing.server_listing.assign("PRD.P00##" + longest + "#" + longest + "x#DEV.P00");
  ProfileFileName name;
  const auto next = [&] { return take_next_listed_name(listing, name) ? std::string(name.view()) : "<none>"; };
  EXPECT_EQ(next(), "PRD.P00");
  EXPECT_EQ(next(), "<none>") << "an empty name";
  EXPECT_EQ(next(), longest);
  EXPECT_EQ(next(), "<none>") << "a name one character too long";
  EXPECT_EQ(listing.server_listing.view(), "DEV.P00");
  EXPECT_EQ(next(), "DEV.P00") << "the last name needs no #";
  EXPECT_TRUE(listing.server_listing.empty());
}

TEST(SensorWords, EachLineAWordReachesTellsThatWordAsARunMustBeGivenIt) {
  std::FILE* file = std::tmpfile();
  const std::string text =
      "# GSNG: SENSOR01  : PRD.P00#\n"
      "# gsnx: Sensor02  : Item=Pages:Used\n"
      "# GSNG:           : QAS.P00#\n"
      "# GSNG: SENSOR 03 : DEV.P00#\n"  // no word reaches a blank inside it
      "# GSNG: SHORT\n"                 // shorter than the key
      "# Gsng: production  PRD.P00#\n"  // the item profile's mark in another case counts
      "# GSNY: SENSOR04  : \n";
  std::fwrite(text.data(), 1, text.size(), file);
  std::rewind(file);
  std::vector<std::string> words;
  visit_sensor_words(
      file,
      [](std::string_view word, void* context) { static_cast<std::vector<std::string>*>(context)->emplace_back(word); },
      &words);
  std::fclose(file);
  EXPECT_EQ(words, (std::vector<std::string>{"SENSOR01", "Sensor02", "", "production"}));
}
