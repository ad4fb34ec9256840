#include <gtest/gtest.h>

#include <string>

#include "config/global_listing.h"
#include "test_support.h"
#include "virtual_files.h"

namespace {

const std::string allocation = ",Sensor=\"SAP Quenmarel\"";

class Listing : public ::testing::Test {
 protected:
  Listing() { state().open_for_reading = VirtualFiles::open; }
  RunState& state() { return run.state(); }

  // Loads `text` as the named listing file with the option text `options`;
  // returns the exit code, or -1 when loading returned.
  int load(const std::string& file_name, const std::string& text, const std::string& options = "SENSOR01") {
    state().profile_file_name.assign(file_name);
    state().profile_path.assign("D:\\cfg\\" + file_name);
    state().given_options.assign(options);
    state().first_option_word.assign(options.substr(0, options.find(' ')));
    state().run_options.assign(options);
    state().run_options.to_upper();
    files.add("D:\\cfg\\" + file_name, text);
    state().profile_file = VirtualFiles::open(state().profile_path.c_str());
    const int code = exit_code_of([&] { load_global_listing(state()); });
    EXPECT_EQ(files.open_count(), 0) << "a listing file was left open";
    return code;
  }
  int load_global(const std::string& text, const std::string& options = "SENSOR01") {
    return load("SAP Gastrelo.Gbl", text, options);
  }
  std::string listing() { return std::string(state().server_listing.view()); }
  std::string message() { return error_message(run.printed()); }

  VirtualFiles files;
  TestRun run;
};

}  // namespace

TEST_F(Listing, SensorWordMatchesOnItsFirstTenCharactersAndIsPaddedToTen) {
  const std::string lines = "# GSNG: SENSOR0123: PRD.P00#\n# GSNX: SENSOR0123: Item=Pages:Used" + allocation + "\n";
  EXPECT_EQ(load_global(lines, "SENSOR0123XY"), -1);
  EXPECT_EQ(listing(), "PRD.P00#");
  EXPECT_EQ(load_global("# GSNG:           : PRD.P00#\n# GSNX:           :Item=Rolls Used" + allocation + "\n", ""),
            -1);
  EXPECT_EQ(state().item_name.view(), "Rolls");
}

TEST_F(Listing, LaterEntriesReplaceItemAndOptionsButAKindIsKeptUntilAnotherIsNamed) {
  EXPECT_EQ(load_global("# GSNG: SENSOR01  : A#\n# GSNX: SENSOR01  : Item=A,Host" + allocation +
                        "\n# GSNX: SENSOR01  : Item=B,CH=2" + allocation + ",Profile\n"),
            -1);
  EXPECT_EQ(state().key_kind, KeyKind::Profile) << "a kind after the allocation still counts";
  EXPECT_EQ(state().item_name.view(), "B");
  EXPECT_EQ(state().given_options.view(), " Item=B,CH=2");
  EXPECT_EQ(load_global("# GSNG: SENSOR01  : A#\n# GSNX: SENSOR01  : Item=A,Host" + allocation +
                        "\n# GSNX: SENSOR01  : Item=B" + allocation + "\n"),
            -1);
  EXPECT_EQ(state().key_kind, KeyKind::Host) << "an entry without a kind keeps the last one named";
}

TEST_F(Listing, ChecksAfterReadingComeInTheOrderSensorThenListingThenItem) {
  EXPECT_EQ(load_global("# GSNG: SENSOR01  : A#\n", "Sensor01 x"), 2);
  EXPECT_EQ(message(), "Error 1030: Global Sensor Sensor01 not found...");
  EXPECT_EQ(load_global("# GSNX: SENSOR01  : ITEM=A" + allocation + "\n"), 2);
  EXPECT_EQ(message(), "Error 1025: Global Server Listing missing...");
  EXPECT_EQ(load_global("# GSNG: SENSOR01  : A#\n# GSNX: SENSOR01  : ITEM=A" + allocation + "\n"), 2);
  EXPECT_EQ(message(), "Error 1026: Global Item Idenification missing...");
  EXPECT_EQ(load("Gastrelo.Prf", "# Gsng: 123456789012\n"), 2) << "a listing line ending at column 20 adds nothing";
  EXPECT_EQ(message(), "Error 1025: Global Server Listing missing...");
}

TEST_F(Listing, ListingFileThatCannotBeOpenedAgainIsMissing) {
  state().profile_file_name.assign("Gastrelo.Prf");
  state().profile_path.assign("Gastrelo.Prf");
  EXPECT_EQ(exit_code_of([&] { load_global_listing(state()); }), 2);
  EXPECT_EQ(message(), "Error 1024: ProFile Gastrelo.Prf is missing...");
  TestRun other;
  other.state().open_for_reading = VirtualFiles::open;
  other.state().profile_file_name.assign("SAP Gastrelo.Gbl");
  EXPECT_EQ(exit_code_of([&] { load_global_listing(other.state()); }), 2);
  EXPECT_EQ(error_message(other.printed()), "Error 10x1: ProFile SAP Gastrelo.Gbl is missing...");
}

TEST_F(Listing, ListingAndEntryTextUpToTheirCapacityFitAndLongerOnesAreRefused) {
  // The carriage returns of the line ends must not count towards the listing.
  const std::string head = "# Gsng: 123456789012";
  std::string lines;
  for (int i = 0; i < 11; ++i) lines += head + std::string(179, 'p') + "\r\n";  // 11 x 179 + 78 = 2047
  EXPECT_EQ(load("Gastrelo.Prf", lines + head + std::string(78, 'q') + "\r\n", "ITEM=X"), 2);
  EXPECT_EQ(listing().size(), 2047u);
  EXPECT_EQ(message(), "Error 1026: Global Item Idenification missing...");
  EXPECT_EQ(load("Gastrelo.Prf", lines + head + std::string(79, 'q') + "\n"), 2);
  EXPECT_EQ(message(), "Error 1027: Global Server Listing too long...");

  const std::string entry = "# GSNX: SENSOR01  :Item=A" + allocation;
  const std::string fitting = entry + std::string(127 - (entry.size() - 19), ',') + "\n";
  EXPECT_EQ(load_global("# GSNG: SENSOR01  : A#\n" + fitting), -1);
  EXPECT_EQ(load_global("# GSNG: SENSOR01  : A#\n" + entry + std::string(128 - (entry.size() - 19), ',') + "\n"), 2);
  EXPECT_EQ(message(), "Error 1028: Global Sensor Entry too long...");
}
