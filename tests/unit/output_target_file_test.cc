#include <gtest/gtest.h>

#include <cstdio>
#include <optional>
#include <string>

#include "output/output_target.h"

namespace {

// The target the file's bytes name; nothing when they name none.
std::optional<OutputTarget> target_named_by(const std::string& bytes) {
  std::FILE* file = std::tmpfile();
  std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::rewind(file);
  OutputTarget target = OutputTarget::EXEXML;
  const bool named = output_target_from_file(file, target);
  std::fclose(file);
  return named ? std::optional<OutputTarget>(target) : std::nullopt;
}

}  // namespace

TEST(OutputTargetFile, TheWholeFirstLineNamesTheTargetTrailingBlanksAndCarriageReturnsAside) {
  EXPECT_EQ(target_named_by("Harnick\n"), OutputTarget::Harnick);
  EXPECT_EQ(target_named_by("Quelbrin \r \r\nEXEXML\n"), OutputTarget::Quelbrin);
  EXPECT_EQ(target_named_by("Tolvane" + std::string(56, ' ')), OutputTarget::Tolvane) << "63 characters";
  EXPECT_EQ(target_named_by("Miravex" + std::string(300, ' ') + "\r\n"), OutputTarget::Miravex);
  EXPECT_EQ(target_named_by("Harnick" + std::string(56, ' ') + "JSON\n"), std::nullopt);
  EXPECT_EQ(target_named_by("Harnick" + std::string(200, ' ') + "x"), std::nullopt);
  EXPECT_EQ(target_named_by(" Harnick\n"), std::nullopt);
  EXPECT_EQ(target_named_by("harnick\n"), std::nullopt);
  EXPECT_EQ(target_named_by(""), std::nullopt);
}
