// The doctor's look at the configuration of an installation: the target
// file, the profiles, the listings, the logon files of destinations and the
// monitor's path file.
#pragma once

#include "doctor_report.h"
#include "installation_files.h"
#include "output/output_target.h"

/// Reports on every configuration file of the installation as the sensor
/// reads it, its names found by `rule`, the rule of the sensor's system.
void check_configuration(const InstallationFiles& files, FileNameCase rule, DoctorReport& report);

/// The installation's output target, as its target file names it; EXEXML
/// without one, or with one the sensor refuses.
OutputTarget installation_output_target();
