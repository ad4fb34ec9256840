#include <windows.h>

#include "icu_opening.h"
#include "standin_chain.h"

const char* const icu_i18n_library_file = "icuin50.dll";

bool open_icu_i18n(TextBuffer& reason) {
  HMODULE library = LoadLibraryA(icu_i18n_library_file);
  if (library == nullptr) {
    reason.assignf("%s: Windows error %lu", icu_i18n_library_file, static_cast<unsigned long>(GetLastError()));
    return false;
  }
  auto version = reinterpret_cast<decltype(&standin_icu_i18n_version)>(
      reinterpret_cast<void*>(GetProcAddress(library, "standin_icu_i18n_version")));
  if (version != nullptr && version() == standin_unicode_version()) return true;
  reason.assignf("%s is not the ICU version the library was built with", icu_i18n_library_file);
  return false;
}
