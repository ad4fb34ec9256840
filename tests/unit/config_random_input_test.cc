#include <gtest/gtest.h>

#include <random>
#include <string>

#include "config/global_listing.h"
#include "config/profile_file.h"
#include "config/sensor_directory.h"
#include "virtual_files.h"

namespace {

// Random files built from the pieces the readers look for, line ends of every
// kind, NUL bytes and bytes above 127, in lines short and long.
std::string random_file(std::mt19937& random) {
  static const std::string pieces[] = {
      "Password...: ",
      "User.......: ",
      "Destination:",
      "# GSNG: ",
      "# GSNX: ",
      "# Gsng: ",
      "SENSOR01  : ",
      ",Sensor=\"SAP Quenmarel\"",
      "Item=",
      ",Sid",
      "C:\\",
      "\\",
      "#",
      "\n",
      "\r\n",
      "\r",
      std::string(1, '\0'),
      "\xff\x80",
      "x",
      std::string(150, 'L'),
  };
  std::uniform_int_distribution<std::size_t> pick(0, std::size(pieces) - 1), count(0, 60);
  std::string text;
  for (std::size_t i = count(random); i > 0; --i) text += pieces[pick(random)];
  return text;
}

}  // namespace

// A refusal names one of the errors the reader may report.
bool is_one_of(const ConfigStatus& status, std::initializer_list<const char*> numbers) {
  if (status.ok()) return true;
  for (const char* number : numbers)
    if (status.message().substr(0, 11) == std::string("Error ") + number + ":") return true;
  return false;
}

TEST(RandomInput, ConfigurationReadersReturnAVerdictOnAnyBytes) {
  std::mt19937 random(1002);
  for (int round = 0; round < 400; ++round) {
    VirtualFiles files;
    ProfileLocation location;
    location.open_for_reading = VirtualFiles::open;
    location.profile_file_name.assign(round % 2 == 0 ? "Gastrelo.Prf" : "SAP Gastrelo.Gbl");
    const std::string text = random_file(random);
    files.add("C:\\PRTG_Path.Txt", text);
    files.add("\\" + std::string(location.profile_file_name.view()), text);
    files.add(std::string(location.profile_file_name.view()), text);

    SystemEntry entry;
    read_listed_profile(OwnedFile(VirtualFiles::open("C:\\PRTG_Path.Txt")), entry);
    const ConfigStatus read = read_profile(OwnedFile(VirtualFiles::open("C:\\PRTG_Path.Txt")), "P", entry);
    EXPECT_TRUE(is_one_of(read, {"1003", "1004", "1005", "1006", "1007"})) << read.message();

    OwnedFile profile;
    const ConfigStatus resolved = resolve_sensor_directory(location, profile);
    EXPECT_TRUE(is_one_of(resolved, {"1002", "1017"})) << resolved.message();
    EXPECT_EQ(resolved.ok(), profile != nullptr);
    profile.reset();

    RunOptions options;
    options.run_options.assign("SENSOR01");
    ItemListing listing;
    location.profile_path.assign(location.profile_file_name.view());
    const ConfigStatus loaded = load_global_listing(location, options, listing);
    EXPECT_TRUE(is_one_of(loaded, {"1025", "1026", "1027", "1028", "1029", "1030"})) << loaded.message();
    EXPECT_TRUE(!loaded.ok() || (!listing.server_listing.empty() && !listing.item_name.empty()));
    EXPECT_EQ(files.open_count(), 0) << "round " << round;
  }
}
