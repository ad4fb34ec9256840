#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/sensor_directory.h"
#include "virtual_files.h"

namespace {

const std::string path_file = "C:\\PRTG_Path.Txt";
const std::string exexml = "PRTG Network Monitor\\Custom Sensors\\ExeXml\\";
const std::string custom = "Custom Sensors\\ExeXml\\";
const std::string missing = "refused: Error 1002: Profile PRD.P00 is missing...";

class SensorDirectory : public ::testing::Test {
 protected:
  SensorDirectory() {
    location.profile_file_name.assign("PRD.P00");
    location.sensor_directory.assign("given\\");
    location.open_for_reading = VirtualFiles::open;
  }

  // Resolves; returns the directory found, or "refused: " and the message.
  std::string resolve() {
    OwnedFile profile;
    const ConfigStatus status = resolve_sensor_directory(location, profile);
    if (!status.ok()) {
      EXPECT_EQ(files.open_count(), 0) << "a refusal leaves no file open";
      return "refused: " + std::string(status.message());
    }
    EXPECT_NE(profile, nullptr);
    EXPECT_EQ(files.open_count(), 1) << "only the profile stays open";
    EXPECT_EQ(std::string(location.profile_path.view()), std::string(location.sensor_directory.view()) + "PRD.P00");
    return std::string(location.sensor_directory.view());
  }

  VirtualFiles files;
  ProfileLocation location;
};

}  // namespace

TEST_F(SensorDirectory, WithoutPathFileTheFirstStandardDirectoryHoldingTheProfileWins) {
  const std::string standard[] = {"", "\\Programme\\" + exexml, "\\Program Files\\" + exexml,
                                  "\\Program Files (x86)\\" + exexml};
  files.add("given\\PRD.P00", "");
  EXPECT_EQ(resolve(), missing) << "the directory given with the name takes no part";
  EXPECT_EQ(files.asked(), (std::vector<std::string>{path_file, "PRD.P00", standard[1] + "PRD.P00",
                                                     standard[2] + "PRD.P00", standard[3] + "PRD.P00"}));
  for (int i = 3; i >= 0; --i) {
    files.add(standard[i] + "PRD.P00", "");
    EXPECT_EQ(resolve(), standard[i]);
  }
}

TEST_F(SensorDirectory, PathFileLineLeadsToTheDirectoryWhereTheSubPathsFindTheProfile) {
  const struct {
    std::string path_file_text, profile_directory;
  } cases[] = {
      {"C:\\Program Files (x86)\\\n", "C:\\Program Files (x86)\\" + exexml},
      {"D:\\PRTG\r\n", "D:\\PRTG\\" + custom},
      {"D:\\PRTG\\", "D:\\PRTG\\" + custom},
      {"D:\\PRTG\\" + custom + "\n", "D:\\PRTG\\" + custom},
      {"# where the monitor lives\n\\First\nC:\\Second\nTools\\PRTG\nrelative\n", "C:\\Second\\"},
      {"C:\\Second\nC:", "C:\\"},
      {"no directory here\n", "\\"},
      {"\xEF\xBB\xBF"
       "D:\\PRTG\r\n",
       "D:\\PRTG\\" + custom},
      {"\xEF\xBB\xBF"
       "\\First\n",
       "\\First\\"},
      {"\xEF\xBB", "\\"},
  };
  files.add("PRD.P00", "");
  for (const auto& given : cases) {
    files.add(path_file, given.path_file_text);
    files.add(given.profile_directory + "PRD.P00", "");
    EXPECT_EQ(resolve(), given.profile_directory) << given.path_file_text;
  }
}

TEST_F(SensorDirectory, SubPathsAreTriedEachOnWhatThePreviousLeft) {
  files.add(path_file, "\\Base\n");
  files.add("\\Base\\" + exexml + "PRD.P00", "");
  files.add("\\Base\\" + custom + "PRD.P00", "");
  EXPECT_EQ(resolve(), "\\Base\\" + exexml) << "the short sub-path is tried below the long one";
  files.add("\\Base\\" + exexml + custom + "PRD.P00", "");
  EXPECT_EQ(resolve(), "\\Base\\" + exexml + custom);
}

TEST_F(SensorDirectory, PathFileStopsTheSearchEvenWhenItLeadsNowhere) {
  files.add(path_file, "C:\\Nowhere\\\n");
  files.add("PRD.P00", "");
  EXPECT_EQ(resolve(), missing);
  EXPECT_EQ(files.asked().back(), "C:\\Nowhere\\PRD.P00");
}

TEST_F(SensorDirectory, DirectoriesLongerThanTheirBufferAreRefused) {
  const std::string fits = "C:\\" + std::string(91, 'd') + "\\";  // 95 characters
  const std::string too_long = "refused: Error 1017: Sensor Directory in C:\\PRTG_Path.Txt too long...";
  files.add(fits + "PRD.P00", "");
  files.add(path_file, fits + "\n");
  EXPECT_EQ(resolve(), fits);
  files.add(path_file, fits.substr(0, 94) + "x\n");
  EXPECT_EQ(resolve(), too_long);
  files.add(path_file, fits + "x\\\n" + fits + "\n");
  EXPECT_EQ(resolve(), fits) << "only the last qualifying line counts";
  files.add(path_file, fits + std::string(60, 'x') + "\n");
  EXPECT_EQ(resolve(), too_long);
  // A long line is one directory that does not fit: what stands after its
  // first 99 characters is never taken for a directory of its own.
  files.add(path_file, "C:\\" + std::string(96, 'd') + fits + "\n");
  EXPECT_EQ(resolve(), too_long);
  const std::string short_base = "C:\\" + std::string(60, 'b') + "\\";
  files.add(path_file, short_base + "\n");
  files.add(short_base + exexml + "PRD.P00", "");
  EXPECT_EQ(resolve(), too_long);
}
