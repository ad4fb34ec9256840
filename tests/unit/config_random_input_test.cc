#include <gtest/gtest.h>

#include <random>
#include <string>

#include "config/global_listing.h"
#include "config/profile_file.h"
#include "config/sensor_directory.h"
#include "test_support.h"
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

TEST(RandomInput, ConfigurationReadersEndCleanlyOnAnyBytes) {
  std::mt19937 random(1002);
  for (int round = 0; round < 400; ++round) {
    VirtualFiles files;
    TestRun run;
    RunState& state = run.state();
    state.open_for_reading = VirtualFiles::open;
    state.run_options.assign("SENSOR01");
    state.profile_file_name.assign(round % 2 == 0 ? "Gastrelo.Prf" : "SAP Gastrelo.Gbl");
    state.profile_path.assign(state.profile_file_name.view());
    const std::string text = random_file(random);
    files.add("C:\\PRTG_Path.Txt", text);
    files.add("\\" + std::string(state.profile_file_name.view()), text);
    files.add(std::string(state.profile_file_name.view()), text);

    for (ProfileReadMode mode : {ProfileReadMode::Listed, ProfileReadMode::Single}) {
      const int code = exit_code_of([&] { read_profile(state, VirtualFiles::open("C:\\PRTG_Path.Txt"), mode); });
      EXPECT_TRUE(code == -1 || (code == 2 && mode == ProfileReadMode::Single)) << code;
    }
    int code = exit_code_of([&] { std::fclose(resolve_sensor_directory(state)); });
    EXPECT_TRUE(code == -1 || code == 2) << code;
    state.profile_path.assign(state.profile_file_name.view());
    code = exit_code_of([&] { load_global_listing(state); });
    EXPECT_TRUE(code == -1 || code == 2) << code;
    EXPECT_EQ(files.open_count(), 0) << "round " << round;
  }
}
