#include "platform/installation_names.h"

#include "common/program_version.h"

const InstallationNames& installation_names(InstallationSystem system) {
  return system == InstallationSystem::Windows ? windows_installation_names : linux_installation_names;
}

bool write_package_name(InstallationSystem system, unsigned bits, TextBuffer& name) {
  const char* package_system = installation_names(system).package_system;
  if (package_system == nullptr) return false;
  name.assignf("quenmarel-%s-%s-%s.zip", package_version, package_system, bits == 32 ? "x86" : "x64");
  return true;
}
