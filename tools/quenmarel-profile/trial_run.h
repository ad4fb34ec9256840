// "doctor --measure": one run of the sensor as the monitor starts it, and
// what came of it.
#pragma once

#include <string>
#include <vector>

#include "doctor_report.h"
#include "installation_check.h"

/// Runs the installation's sensor once in console mode from the working
/// directory with the profile and option words in `arguments`, and reports
/// the values it measured, or its error and what the RFC library wrote to
/// its trace file meanwhile.
void run_trial(const InstallationPrograms& programs, const std::vector<std::string>& arguments, DoctorReport& report);
