#include "common/numbered_errors.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

namespace {

std::string trimmed(const std::string& text) {
  const std::size_t first = text.find_first_not_of(' ');
  return first == std::string::npos ? "" : text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// The rows of the README's error reference, each as "number | cause | remedy".
std::string readme_error_reference() {
  std::ifstream readme(QUENMAREL_README);
  std::string line, rows;
  while (std::getline(readme, line) && line != "| error | cause | remedy |") {
  }
  std::getline(readme, line);  // the rule under the heading
  while (std::getline(readme, line) && line.rfind("| ", 0) == 0) {
    std::string row;
    for (std::size_t start = 1, bar; (bar = line.find(" |", start)) != std::string::npos; start = bar + 2)
      row += (row.empty() ? "" : " | ") + trimmed(line.substr(start, bar - start));
    rows += row + "\n";
  }
  return rows;
}

}  // namespace

TEST(NumberedErrors, ReadmeReferenceListsEveryErrorWithTheTablesCauseAndRemedy) {
  std::string table;
  for (const NumberedErrorRow& row : numbered_error_table())
    table += std::string(row.number) + " | " + std::string(row.cause) + " | " + std::string(row.remedy) + "\n";
  EXPECT_EQ(readme_error_reference(), table);
}
