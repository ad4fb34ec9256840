#include <dlfcn.h>

#include "icu_opening.h"
#include "standin_chain.h"

const char* const icu_i18n_library_file = "libicui18n.so.50";

bool open_icu_i18n(TextBuffer& reason) {
  void* library = dlopen(icu_i18n_library_file, RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) {
    const char* error = dlerror();
    reason.assign(error != nullptr ? error : icu_i18n_library_file);
    return false;
  }
  auto version = reinterpret_cast<decltype(&standin_icu_i18n_version)>(dlsym(library, "standin_icu_i18n_version"));
  if (version != nullptr && version() == standin_unicode_version()) return true;
  reason.assignf("%s is not the ICU version the library was built with", icu_i18n_library_file);
  return false;
}
