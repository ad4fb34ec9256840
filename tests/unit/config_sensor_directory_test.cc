#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/profile_file.h"
#include "config/sensor_directory.h"
#include "test_support.h"
#include "virtual_files.h"

namespace {

const std::string path_file = "C:\\PRTG_Path.Txt";
const std::string exexml = "PRTG Network Monitor\\Custom Sensors\\ExeXml\\";
const std::string custom = "Custom Sensors\\ExeXml\\";

class SensorDirectory : public ::testing::Test {
 protected:
  SensorDirectory() {
    state().profile_file_name.assign("PRD.P00");
    state().sensor_directory.assign("given\\");
    state().open_for_reading = VirtualFiles::open;
  }
  RunState& state() { return run.state(); }

  // Resolves; returns the directory found, or "exit N" with the printed message.
  std::string resolve() {
    std::FILE* profile = nullptr;
    const int code = exit_code_of([&] { profile = resolve_sensor_directory(state()); });
    if (code != -1) return "exit " + std::to_string(code) + " " + message();
    EXPECT_NE(profile, nullptr);
    EXPECT_EQ(files.open_count(), 1) << "only the profile stays open";
    std::fclose(profile);
    EXPECT_EQ(std::string(state().profile_path.view()), std::string(state().sensor_directory.view()) + "PRD.P00");
    return std::string(state().sensor_directory.view());
  }
  // The message of the last error document printed.
  std::string message() {
    const std::string printed = run.printed();
    const std::size_t start = printed.rfind("<Text>") + 6;
    return printed.substr(start, printed.rfind("</Text>") - start);
  }

  VirtualFiles files;
  TestRun run;
};

}  // namespace

TEST_F(SensorDirectory, WithoutPathFileTheStandardDirectoriesAreTriedInOrder) {
  files.add("\\Program Files\\" + exexml + "PRD.P00", "");
  files.add("\\Program Files (x86)\\" + exexml + "PRD.P00", "");
  EXPECT_EQ(resolve(), "\\Program Files\\" + exexml);
  EXPECT_EQ(files.asked(), (std::vector<std::string>{path_file, "PRD.P00", "\\Programme\\" + exexml + "PRD.P00",
                                                     "\\Program Files\\" + exexml + "PRD.P00"}));
}

TEST_F(SensorDirectory, WorkingDirectoryComesFirstAndIsTheEmptyPrefix) {
  files.add("PRD.P00", "");
  files.add("\\Programme\\" + exexml + "PRD.P00", "");
  EXPECT_EQ(resolve(), "");
}

TEST_F(SensorDirectory, ProfileInNoStandardDirectoryIsMissingByItsBareName) {
  files.add("given\\PRD.P00", "");
  EXPECT_EQ(resolve(), "exit 2 Error 1002: Profile PRD.P00 is missing...");
  EXPECT_EQ(files.asked().size(), 5u);
}

TEST_F(SensorDirectory, ParentOfTheInstallationGetsTheFullSubPath) {
  files.add(path_file, "C:\\Program Files (x86)\\\n");
  files.add("C:\\Program Files (x86)\\" + exexml + "PRD.P00", "");
  EXPECT_EQ(resolve(), "C:\\Program Files (x86)\\" + exexml);
}

TEST_F(SensorDirectory, InstallationDirectoryWithOrWithoutBackslashGetsTheShortSubPath) {
  files.add("D:\\PRTG\\" + custom + "PRD.P00", "");
  files.add(path_file, "D:\\PRTG\r\n");
  EXPECT_EQ(resolve(), "D:\\PRTG\\" + custom);
  files.add(path_file, "D:\\PRTG\\");
  EXPECT_EQ(resolve(), "D:\\PRTG\\" + custom);
}

TEST_F(SensorDirectory, CustomSensorDirectoryItselfIsUsedDirectly) {
  files.add(path_file, "D:\\PRTG\\" + custom + "\n");
  files.add("D:\\PRTG\\" + custom + "PRD.P00", "");
  EXPECT_EQ(resolve(), "D:\\PRTG\\" + custom);
}

TEST_F(SensorDirectory, SubPathsAreTriedEachOnWhatThePreviousLeft) {
  files.add(path_file, "\\Base\n");
  files.add("\\Base\\" + exexml + "PRD.P00", "");
  files.add("\\Base\\" + custom + "PRD.P00", "");
  EXPECT_EQ(resolve(), "\\Base\\" + exexml) << "the short sub-path is tried below the long one";
  files.add("\\Base\\" + exexml + custom + "PRD.P00", "");
  EXPECT_EQ(resolve(), "\\Base\\" + exexml + custom);
}

TEST_F(SensorDirectory, LastQualifyingLineOfThePathFileCounts) {
  files.add(path_file, "# where the monitor lives\n\\First\nC:\\Second\nTools\\PRTG\nrelative\n");
  files.add("C:\\Second\\PRD.P00", "");
  EXPECT_EQ(resolve(), "C:\\Second\\");
  files.add(path_file, "C:\\Second\nC:");
  files.add("C:\\PRD.P00", "");
  EXPECT_EQ(resolve(), "C:\\");
  files.add(path_file, "no directory here\n");
  files.add("\\PRD.P00", "");
  EXPECT_EQ(resolve(), "\\") << "the root of the current drive";
}

TEST_F(SensorDirectory, PathFileStopsTheSearchEvenWhenItLeadsNowhere) {
  files.add(path_file, "C:\\Nowhere\\\n");
  files.add("PRD.P00", "");
  EXPECT_EQ(resolve(), "exit 2 Error 1002: Profile PRD.P00 is missing...");
  EXPECT_EQ(files.asked().back(), "C:\\Nowhere\\PRD.P00");
}

TEST_F(SensorDirectory, DirectoriesLongerThanTheirBufferAreRefused) {
  const std::string fits = "C:\\" + std::string(91, 'd') + "\\";  // 95 characters
  files.add(fits + "PRD.P00", "");
  files.add(path_file, fits + "\n");
  EXPECT_EQ(resolve(), fits);
  files.add(path_file, fits.substr(0, 94) + "x\n");
  EXPECT_EQ(resolve(), "exit 2 Error 1017: Sensor Directory in C:\\PRTG_Path.Txt too long...");
  files.add(path_file, fits + "x\\\n" + fits + "\n");
  EXPECT_EQ(resolve(), fits) << "only the last qualifying line counts";
  files.add(path_file, fits + std::string(60, 'x') + "\n");
  EXPECT_EQ(resolve(), "exit 2 Error 1017: Sensor Directory in C:\\PRTG_Path.Txt too long...");
  const std::string short_base = "C:\\" + std::string(60, 'b') + "\\";
  files.add(path_file, short_base + "\n");
  files.add(short_base + exexml + "PRD.P00", "");
  EXPECT_EQ(resolve(), "exit 2 Error 1017: Sensor Directory in C:\\PRTG_Path.Txt too long...");
}

TEST(OpenProfile, AtSignOrAnotherTargetOpensTheGivenDirectoryWithoutSearching) {
  for (OutputTarget target : {OutputTarget::EXEXML, OutputTarget::Harnick}) {
    VirtualFiles files;
    TestRun run;
    RunState& state = run.state();
    state.open_for_reading = VirtualFiles::open;
    state.output_target = target;
    state.run_options.assign(target == OutputTarget::EXEXML ? "X@" : "");
    state.sensor_directory.assign("cfg\\");
    state.profile_file_name.assign("PRD.P00");
    EXPECT_EQ(exit_code_of([&] { open_profile(state); }), 2);
    EXPECT_NE(run.printed().find("<Text>Error 1002: Profile cfg\\PRD.P00 is missing...</Text>"), std::string::npos);
    EXPECT_EQ(files.asked(), std::vector<std::string>{"cfg\\PRD.P00"});
  }
}

TEST(OpenProfile, MonitorTargetWithoutAtSignSearchesTheSensorDirectory) {
  VirtualFiles files;
  TestRun run;
  RunState& state = run.state();
  state.open_for_reading = VirtualFiles::open;
  state.sensor_directory.assign("cfg\\");
  state.profile_file_name.assign("PRD.P00");
  files.add("PRD.P00", "");
  open_profile(state);
  ASSERT_NE(state.profile_file, nullptr);
  std::fclose(state.profile_file);
  EXPECT_EQ(state.profile_path.view(), "PRD.P00");
  EXPECT_EQ(files.asked().front(), "C:\\PRTG_Path.Txt");
}
