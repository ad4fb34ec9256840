#include "platform/installation_names.h"

InstallationSystem native_installation_system() { return InstallationSystem::Windows; }
