#include "doctor_command.h"

#include <string>
#include <vector>

#include "configuration_check.h"
#include "doctor_report.h"
#include "installation_check.h"
#include "installation_files.h"
#include "platform/directories.h"
#include "platform/files.h"
#include "platform/installation_names.h"
#include "platform/process.h"
#include "tool_output.h"
#include "trial_run.h"

const char* const doctor_usage =
    "Usage: quenmarel-profile doctor [DIR] [--measure PROFILE [OPTIONS [OPTIONS]]]\n"
    "\n"
    "Inspects the sensor installation in DIR (by default the directory of this\n"
    "tool when the sensor lies there, else the working directory) and prints one\n"
    "line per finding: ok, warning or error, what was found and, for anything\n"
    "not ok, what to do.  It reads the sensor, its RFC library and the libraries\n"
    "that one needs from their files (none is loaded), the target file, every\n"
    "profile, the listings, the logon files of destinations and C:\\PRTG_Path.Txt,\n"
    "and changes no file.\n"
    "\n"
    "  --measure PROFILE [OPTIONS]   then runs the sensor once in DIR with these\n"
    "                                words, each an argument as typed, as the\n"
    "                                monitor would, and reports its values, or its\n"
    "                                error and its trace file's text (that run\n"
    "                                writes the files every run writes)\n"
    "\n"
    "Exit code 0 without errors, 2 with any.\n";

namespace {

/// What the command line asked for.
struct DoctorRequest {
  std::string directory;
  /// The profile and option words of a trial run; empty for none.
  std::vector<std::string> measure;
};

// The words after "--measure" are the sensor's, each passed on as typed.
bool parse_arguments(int argc, const char* const* argv, DoctorRequest& request, std::string& problem) {
  int i = 0;
  if (i < argc && !is_option(argv[i])) request.directory = argv[i++];
  if (i == argc) return true;
  if (std::string(argv[i]) != "--measure") {
    problem = "unknown argument " + std::string(argv[i]);
    return false;
  }
  if (++i == argc || is_option(argv[i])) {
    problem = "--measure needs a profile";
    return false;
  }
  for (; i < argc; ++i) request.measure.push_back(argv[i]);
  // The sensor takes a profile and at most two option words.
  if (request.measure.size() > 3) {
    problem = "--measure takes a profile and at most two option words";
    return false;
  }
  return true;
}

bool holds_sensor(const std::string& directory) {
  for (const char* name : {windows_installation_names.program, linux_installation_names.program})
    if (OwnedFile(open_file_for_reading((directory + name).c_str())) != nullptr) return true;
  return false;
}

// The directory of this tool when the sensor lies beside it, else the working directory.
std::string default_directory() {
  PathText own;
  if (executable_directory(own) && holds_sensor(own.c_str())) return own.c_str();
  return ".";
}

}  // namespace

int run_doctor(int argc, const char* const* argv) {
  if (argc == 1 && std::string(argv[0]) == "--help") {
    print_text(doctor_usage);
    return 0;
  }
  DoctorRequest request;
  std::string problem;
  if (!parse_arguments(argc, argv, request, problem)) return refuse_usage(problem, doctor_usage);
  if (request.directory.empty()) request.directory = default_directory();
  InstallationFiles files;
  if (!change_working_directory(request.directory.c_str()) || !read_installation_files(files)) {
    print_error("cannot read the directory " + request.directory);
    return tool_failure;
  }
  DoctorReport report;
  InstallationPrograms programs;
  check_programs(files, report, programs);
  check_configuration(files, programs.windows ? FileNameCase::IgnoringCase : FileNameCase::Exact, report);
  if (!request.measure.empty()) run_trial(programs, request.measure, report);
  report.print_count();
  return report.has_errors() ? tool_failure : 0;
}
