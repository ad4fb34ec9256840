// The doctor's findings, one line each as they are made, and their count.
#pragma once

#include <string>

/// How a finding stands.
enum class Verdict { Ok, Warning, Error };

/// Prints findings on standard output and counts them.
class DoctorReport {
 public:
  /// "ok      SUBJECT: FOUND".
  void ok(const std::string& subject, const std::string& found);
  /// "warning SUBJECT: FOUND: REMEDY".
  void warning(const std::string& subject, const std::string& found, const std::string& remedy);
  /// "error   SUBJECT: FOUND: REMEDY".
  void error(const std::string& subject, const std::string& found, const std::string& remedy);
  /// A line of detail under the last finding, indented to its text.
  void detail(const std::string& text);
  /// "doctor: 5 ok, 1 warning, 1 error".
  void print_count() const;
  /// Whether any finding was an error.
  bool has_errors() const { return errors_ > 0; }

 private:
  void add(Verdict verdict, const std::string& line);

  int ok_ = 0, warnings_ = 0, errors_ = 0;
};
