#include "doctor_report.h"

#include "tool_output.h"

namespace {

// The verdict's word padded to one column, so that the findings' texts align.
const char* verdict_column(Verdict verdict) {
  switch (verdict) {
    case Verdict::Ok:
      return "ok      ";
    case Verdict::Warning:
      return "warning ";
    case Verdict::Error:
      break;
  }
  return "error   ";
}

std::string counted(int count, const char* word) {
  return std::to_string(count) + " " + word + (count == 1 ? "" : "s");
}

}  // namespace

void DoctorReport::ok(const std::string& subject, const std::string& found) {
  add(Verdict::Ok, subject + ": " + found);
}

void DoctorReport::warning(const std::string& subject, const std::string& found, const std::string& remedy) {
  add(Verdict::Warning, subject + ": " + found + ": " + remedy);
}

void DoctorReport::error(const std::string& subject, const std::string& found, const std::string& remedy) {
  add(Verdict::Error, subject + ": " + found + ": " + remedy);
}

void DoctorReport::detail(const std::string& text) { print_line("        " + text); }

void DoctorReport::print_count() const {
  print_line("doctor: " + std::to_string(ok_) + " ok, " + counted(warnings_, "warning") + ", " +
             counted(errors_, "error"));
}

void DoctorReport::add(Verdict verdict, const std::string& line) {
  (verdict == Verdict::Ok ? ok_ : verdict == Verdict::Warning ? warnings_ : errors_) += 1;
  print_line(verdict_column(verdict) + line);
}
