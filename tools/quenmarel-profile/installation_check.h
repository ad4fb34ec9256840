// The doctor's look at the programs of an installation: the sensor, the RFC
// library beside it and, for the NetWeaver bridge, the libraries it loads.
#pragma once

#include "doctor_report.h"
#include "installation_files.h"
#include "platform/executable_file.h"

/// What the checks of the programs found that later checks use.
struct InstallationPrograms {
  /// A Windows installation: quenmarel.exe rather than quenmarel.
  bool windows = false;
  /// "quenmarel.exe" or "quenmarel".
  std::string sensor_name;
  /// The sensor was found and read.
  bool sensor_found = false;
  ExecutableFile sensor;
};

/// Reports on the sensor, its RFC library and the libraries that library
/// needs, all read from their files, none loaded.
void check_programs(const InstallationFiles& files, DoctorReport& report, InstallationPrograms& programs);
