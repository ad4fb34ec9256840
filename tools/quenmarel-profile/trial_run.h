// "doctor --measure": one run of the sensor as the monitor starts it, and
// what came of it.
#pragma once

#include <string>
#include <vector>

#include "doctor_report.h"
#include "installation_check.h"

/// Runs the installation's sensor once from the working directory with the
/// profile and option words in `words`, each an argument of its own as
/// typed, and reports the values it measured, or what went wrong and what the
/// RFC library wrote to its trace file meanwhile.
void run_trial(const InstallationPrograms& programs, const std::vector<std::string>& words, DoctorReport& report);
